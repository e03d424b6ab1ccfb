#pragma once

#include <map>

#include "platform/gdi/device_context.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/user_types.h"

namespace qv {

class Window;
class ActivationFocus;
class WindowAccess;

// The frames of the windows: which need WM_NCPAINT before the screen is composed, and the
// drawing of a border and caption bar that the default WM_NCPAINT does.
class FramePainter {
  public:
    static constexpr int kCaptionHeight = qv::kCaptionHeight;

    FramePainter();

    // The window's non-client area must be painted again (made, resized, its caption or scroll
    // bar changed).
    void MarkStale(HWND window) { painted_.erase(window); }
    void MarkAllStale() { painted_.clear(); }
    void Forget(HWND window) { painted_.erase(window); }
    // Sends WM_NCPAINT to each shown window under the desktop with a non-client area that is
    // stale or whose caption's activation changed, top first. True when any was sent.
    bool PaintStale(WindowAccess& windows, const Window& desktop,
                    const ActivationFocus& activation);

    // The border and caption bar, on a surface whose origin is the window's top left.
    void Paint(HDC dc, const Window& window, bool active) const;

  private:
    struct Painted {
        bool active = false;
    };

    UniqueFont captionFont_;
    std::map<HWND, Painted> painted_;
};

}  // namespace qv
