#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>

#include "platform/host/host.h"
#include "platform/user/records/user_types.h"

namespace qv {

class WindowSystem;
class Window;

// Turns the host's input into messages: the pen to the window under it (or the one holding the
// capture) in that window's client coordinates, keys and characters to the focus window.
// Disabled windows get no input, which is how modal loops keep input to themselves.
class InputRouter {
  public:
    explicit InputRouter(WindowSystem& system) : system_(system) {}

    void Route(const InputEvent& event);
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
    // The deepest shown and enabled window under the point; may be a disabled top-level
    // window, which then gets nothing.
    Window* WindowAt(POINT screen) const;

    WindowSystem& system_;
    std::deque<MSG> routed_;
    HWND capture_ = nullptr;
    KeyModifiers modifiers_;
    std::set<int> keysDown_;
    POINT penPosition_{};
    bool penDown_ = false;
};

}  // namespace qv
