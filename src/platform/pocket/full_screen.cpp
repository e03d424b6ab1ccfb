#include "platform/pocket/full_screen.h"

#include "platform/user/api/shell_observer.h"
#include "platform/user/api/window_functions.h"

namespace qv {

namespace {

bool Both(DWORD state, DWORD show, DWORD hide) {
    return (state & show) != 0 && (state & hide) != 0;
}

void Apply(HWND window, DWORD state, DWORD show, DWORD hide, std::u16string_view property) {
    if ((state & hide) != 0) {
        SetPropW(window, property, 1);
    } else if ((state & show) != 0) {
        RemovePropW(window, property);
    }
}

}  // namespace

BOOL SHFullScreen(HWND window, DWORD state) {
    if (!IsWindow(window) || Both(state, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR) ||
        Both(state, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON) ||
        Both(state, SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON)) {
        return 0;
    }
    Apply(window, state, SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR, kHideTaskBarProperty);
    Apply(window, state, SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON, kHideSipButtonProperty);
    NotifyShell(window, ShellChange::FullScreen);
    return 1;
}

bool TaskBarHidden(HWND window) {
    return window && GetPropW(window, kHideTaskBarProperty) != 0;
}

bool SipButtonHidden(HWND window) {
    return window && GetPropW(window, kHideSipButtonProperty) != 0;
}

}  // namespace qv
