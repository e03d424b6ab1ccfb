#pragma once

#include <vector>

#include "platform/gdi/device_context.h"

namespace qv {

// The pixels of one window, the whole window rectangle at the screen's device scale. Painting
// draws here; the screen is composed from these surfaces, so a window never draws over another.
class WindowSurface {
  public:
    WindowSurface();
    ~WindowSurface() = default;
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    // Fresh white pixels of the new size; surfaces lent out draw into them from now on.
    void Resize(int width, int height, int scale);
    // A surface on the pixels with the given origin and clip (relative to the origin), until
    // Return takes it back or this surface ends.
    HDC Lend(POINT origin, const ClipRegion& clip);
    // A surface for painting the rectangles (relative to the origin), clipped to them.
    HDC LendForPaint(POINT origin, const std::vector<RECT>& area);
    bool Return(HDC dc);
    // The surface that composition copies from.
    HDC Source() { return &source_; }
    int Scale() const { return scale_; }

  private:
    int scale_ = 1;
    UniqueBitmap bitmap_;  // declared first: outlives the surfaces it is selected into
    DeviceContext source_;
    std::vector<UniqueDC> lent_;
};

}  // namespace qv
