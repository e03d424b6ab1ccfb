#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// What changed about a window that the device's shell shows around the program's windows.
enum class ShellChange {
    Text,        // its title
    Style,       // its window style
    DoneButton,  // a page asked for the "ok" button or gave it up
    FullScreen,  // a page hid or showed the bars
};

// The device's shell (its bars and their buttons) follows the program's windows through this.
// The window system holds at most one and tells it of each change as it happens.
class ShellObserver {
  public:
    virtual ~ShellObserver() = default;
    // The active top-level window changed; null when none is active.
    virtual void ActiveChanged(HWND active) = 0;
    virtual void WindowChanged(HWND window, ShellChange change) = 0;
};

}  // namespace qv
