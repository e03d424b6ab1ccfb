#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

class WindowSystem;
class WindowTree;

// Which top-level window is active and which window has the keyboard, and the messages that tell
// windows when either changes.
class ActivationFocus {
  public:
    ActivationFocus(WindowSystem& system, WindowTree& tree) : system_(system), tree_(tree) {}
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
    // The active window names the program on the host.
    void UpdateHostTitle();

  private:
    // Passes the activation on from a window that leaves: to its owner, else the top usable one.
    void ActivateNext(HWND leaving);

    WindowSystem& system_;
    WindowTree& tree_;
    HWND active_ = nullptr;
    HWND focus_ = nullptr;
};

}  // namespace qv
