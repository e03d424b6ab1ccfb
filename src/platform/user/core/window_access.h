#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

class Window;

// What the parts of the window system (activation and focus, input routing, frames) need of it:
// its windows by handle, sending one a message, and noting that the screen must be composed
// again. The parts hold this, not the system, so that none reaches more than it uses.
class WindowAccess {
  public:
    virtual Window* Find(HWND handle) const = 0;
    // Calls the window's procedure now; 0 for a window that is gone.
    virtual LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void MarkScreenDirty() = 0;

  protected:
    ~WindowAccess() = default;
};

}  // namespace qv
