#pragma once

#include <string_view>

#include "platform/controls/control_state.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

// Makes one of the shell's own pop-ups over `place` (its class registered for `State` first): on
// top of the programs' windows, never activated and usable while a page runs its modal loop.
// Null when it cannot be made.
template <typename State>
HWND CreateShellWindow(std::u16string_view className, const RECT& place, HWND owner = nullptr,
                       HINSTANCE module = nullptr) {
    if (!RegisterControlClass<State>(className)) {
        return nullptr;
    }
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_SHELLWINDOW, className, u"",
                           WS_POPUP, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, owner, 0, module, nullptr);
}

}  // namespace qv
