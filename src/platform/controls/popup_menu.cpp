#include "platform/controls/popup_menu.h"

#include "platform/controls/popup_menu_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYDOWN && message <= WM_SYSCHAR;
}

bool IsPenMessage(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
}

struct TrackResult {
    MenuOutcome outcome = MenuOutcome::Dismissed;
    UINT chosen = 0;
    bool quit = false;
    int quitCode = 0;
};

// The menu's own loop. Keys are the menu's wherever the focus is, pen messages meant for other
// windows before the menu took the pen are dropped, everything else is handled as usual. A
// menu dismissed by a pen-down waits for the pen to come up, so that no window below sees a
// lone pen-up.
TrackResult RunMenuLoop(HWND popup) {
    TrackResult result;
    while (const PopupMenuWindow* state = PopupMenuOf(popup)) {
        if (state->Outcome() != MenuOutcome::Open && !state->PenHeld()) {
            result.outcome = state->Outcome();
            result.chosen = state->Chosen();
            break;
        }
        MSG message;
        if (!GetMessageW(&message, nullptr, 0, 0)) {
            result.quit = true;
            result.quitCode = static_cast<int>(message.wParam);
            break;
        }
        if (IsKeyMessage(message.message)) {
            message.hwnd = popup;
        } else if (IsPenMessage(message.message) && message.hwnd != popup) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return result;
}

// The window showing the popup menu: `window` itself, or the topmost one of the program's.
const PopupMenuWindow* FindMenuWindow(HWND window, HMENU menu) {
    if (const PopupMenuWindow* given = PopupMenuOf(window); given && given->ShownMenu() == menu) {
        return given;
    }
    for (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD); top;
         top = GetWindow(top, GW_HWNDNEXT)) {
        if (const PopupMenuWindow* shown = PopupMenuOf(top); shown && shown->ShownMenu() == menu) {
            return shown;
        }
    }
    return nullptr;
}

}  // namespace

HWND CreatePopupMenuWindow(HMENU menu, UINT flags, int x, int y, HWND owner,
                           const TPMPARAMS* params) {
    if (!menu || menu->Items().empty() || !IsWindow(owner) ||
        (params && params->cbSize != sizeof(TPMPARAMS)) || !RegisterPopupMenuClass()) {
        return nullptr;
    }
    PopupMenuRequest request;
    request.menu = menu;
    request.point = {x, y};
    request.flags = flags;
    if (params) {
        request.exclude = params->rcExclude;
    }
    const HWND popup = CreateWindowExW(WS_EX_TOPMOST, kPopupMenuClassName, u"", WS_POPUP, x, y, 0,
                                       0, owner, 0, nullptr, &request);
    if (popup) {
        ShowWindow(popup, SW_SHOWNA);
    }
    return popup;
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, RECT* rect) {
    const PopupMenuWindow* shown = menu && rect ? FindMenuWindow(window, menu) : nullptr;
    const std::optional<RECT> item =
        shown ? shown->ItemRect(static_cast<int>(position)) : std::nullopt;
    if (!item) {
        return 0;
    }
    POINT corner{item->left, item->top};
    ClientToScreen(shown->Window(), &corner);
    *rect = {corner.x, corner.y, corner.x + item->right - item->left,
             corner.y + item->bottom - item->top};
    return 1;
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    if (PopupMenuOf(GetCapture())) {
        return 0;
    }
    const HWND popup = CreatePopupMenuWindow(menu, flags, x, y, owner, params);
    if (!popup) {
        return 0;
    }
    SetCapture(popup);
    const TrackResult result = RunMenuLoop(popup);
    if (GetCapture() == popup) {
        ReleaseCapture();
    }
    DestroyWindow(popup);
    if (result.quit) {
        PostQuitMessage(result.quitCode);
    }
    const bool chosen = result.outcome == MenuOutcome::Chosen;
    if ((flags & TPM_RETURNCMD) != 0) {
        return chosen ? static_cast<BOOL>(result.chosen) : 0;
    }
    if (chosen && (flags & TPM_NONOTIFY) == 0 && IsWindow(owner)) {
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(result.chosen), 0), 0);
    }
    return 1;
}

}  // namespace qv
