#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>

#include "platform/host/host.h"
#include "platform/user/core/window_access.h"
#include "platform/user/records/user_types.h"

namespace qv {

class ActivationFocus;
class ScrollBars;
class Window;
class WindowTree;

// Turns the host's input into messages: the pen to the window under it (or the one holding the
// capture) in that window's client coordinates, keys and characters to the focus window.
// Disabled windows get no input, which is how modal loops keep input to themselves. A pen event
// not captured first asks the window what the point is on (WM_NCHITTEST): HTCLIENT gives it the
// client pen messages, a frame part the WM_NC... ones in screen coordinates, HTTRANSPARENT hands
// the pen to the parent (static text does so) and HTNOWHERE drops it. The wheel goes to the
// top-level window that takes the keys; a dropped file to the window that owns the active one,
// sent at once.
class InputRouter {
  public:
    // What the window system is left to do about an event that is no input to a window.
    enum class Request { None, Rescale, Close };

    InputRouter(WindowAccess& windows, const WindowTree& tree, ActivationFocus& activation,
                const ScrollBars& bars, Host& host)
        : windows_(windows), tree_(tree), activation_(activation), bars_(bars), host_(host) {}

    [[nodiscard]] Request Route(const InputEvent& event);
    std::optional<MSG> Take(const std::function<bool(const MSG&)>& wanted, bool remove);

    HWND Capture() const { return capture_; }
    HWND SetCapture(HWND window);
    bool ReleaseCapture();
    // A destroyed window loses the capture without being told.
    void Forget(HWND window);

    // The state of a key as of the last key routed: the high bit set while it is down.
    SHORT KeyState(int virtualKey) const;
    POINT PenPosition() const { return penPosition_; }

  private:
    void RoutePen(UINT message, POINT screen);
    void RouteKey(const InputEvent& event);
    void RouteWheel(const InputEvent& event);
    void RouteDrop(const InputEvent& event);
    // The deepest shown and enabled window under the point; may be a disabled top-level
    // window, which then gets nothing.
    Window* WindowAt(POINT screen) const;

    WindowAccess& windows_;
    const WindowTree& tree_;
    ActivationFocus& activation_;
    const ScrollBars& bars_;
    Host& host_;
    std::deque<MSG> routed_;
    HWND capture_ = nullptr;
    KeyModifiers modifiers_;
    std::set<int> keysDown_;
    POINT penPosition_{};
    bool penDown_ = false;
};

}  // namespace qv
