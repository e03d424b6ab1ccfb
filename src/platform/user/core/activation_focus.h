#pragma once

#include "platform/host/host.h"
#include "platform/user/core/shell_events.h"
#include "platform/user/core/window_access.h"
#include "platform/user/records/user_types.h"

namespace qv {

class WindowTree;

// Which top-level window is active and which window has the keyboard, and the messages that tell
// windows when either changes.
class ActivationFocus {
  public:
    ActivationFocus(WindowAccess& windows, WindowTree& tree, Host& host)
        : windows_(windows), tree_(tree), host_(host) {}
    ActivationFocus(const ActivationFocus&) = delete;
    ActivationFocus& operator=(const ActivationFocus&) = delete;

    HWND Active() const { return active_; }
    HWND Focus() const { return focus_; }
    // Activates the window's top-level window and brings it to the top.
    void Activate(HWND handle, WORD how);
    // Gives the window the keyboard, activating its top-level window first.
    HWND SetFocus(HWND handle);
    // Brings a window forward for another program's request, or for the program itself.
    bool BringToForeground(HWND handle);
    // The window left the screen: a focus held inside it is lost, its activation passed on.
    void LeaveScreen(HWND handle);
    // The window's record is going: neither names it any more.
    void Forget(HWND handle);
    // The shell told of each change of the active window; none when null.
    void SetShell(ShellObserver* shell) { shell_ = shell; }
    // The active window names the program on the host.
    void UpdateHostTitle();

  private:
    // Passes the activation on from a window that leaves: to its owner, else the top usable one.
    void ActivateNext(HWND leaving);

    WindowAccess& windows_;
    WindowTree& tree_;
    Host& host_;
    ShellObserver* shell_ = nullptr;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;
};

}  // namespace qv
