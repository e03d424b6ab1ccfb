#pragma once

#include "platform/gdi/device_context.h"
#include "platform/gdi/system_metrics.h"

namespace qv {

// The device's 240 x 320 screen: one bitmap at the host's device scale and a surface on it.
class DeviceScreen {
  public:
    explicit DeviceScreen(int scale);
    ~DeviceScreen();
    DeviceScreen(const DeviceScreen&) = delete;
    DeviceScreen& operator=(const DeviceScreen&) = delete;

    HDC Dc() { return &dc_; }
    const Bitmap& Pixels() const { return *bitmap_; }
    int Scale() const { return bitmap_->Scale(); }
    // A fresh, white screen at another scale; what was drawn is gone.
    void Rescale(int scale);

  private:
    UniqueBitmap bitmap_;  // outlives the surface it is selected into
    DeviceContext dc_;
};

}  // namespace qv
