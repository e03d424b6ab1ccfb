#include "platform/controls/popup_menu.h"

#include <algorithm>

#include "platform/controls/popup_menu_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

enum class Alignment { Start, Centre, End };

// One axis of the placement: the menu's start for a point, flipped to the point's other side
// when it runs off the screen and the other side has room, then kept on the screen.
LONG PlaceAlong(LONG point, LONG length, Alignment alignment, LONG limit) {
    // A point off the screen places the menu as the nearest point on it would.
    const LONG anchor = std::clamp<LONG>(point, 0, limit);
    LONG start = alignment == Alignment::Start    ? anchor
                 : alignment == Alignment::Centre ? anchor - length / 2
                                                  : anchor - length;
    if (alignment == Alignment::Start && start + length > limit && anchor - length >= 0) {
        start = anchor - length;
    } else if (alignment == Alignment::End && start < 0 && anchor + length <= limit) {
        start = anchor;
    }
    return std::max<LONG>(0, std::min(start, limit - length));
}

// Moves the menu's start off [low, high) on one axis when a side has room, the preferred side
// first; false when neither has.
bool AvoidAlong(LONG& start, LONG length, LONG low, LONG high, bool preferBefore, LONG limit) {
    const long long before = static_cast<long long>(low) - length;
    const bool beforeFits = before >= 0;
    const bool afterFits = static_cast<long long>(high) + length <= limit;
    if (beforeFits && (preferBefore || !afterFits)) {
        start = static_cast<LONG>(before);
        return true;
    }
    if (afterFits) {
        start = high;
        return true;
    }
    return false;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

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

RECT PlacePopupMenu(SIZE size, POINT point, UINT flags, SIZE screen, const RECT* exclude) {
    const Alignment horizontal = (flags & TPM_RIGHTALIGN) != 0    ? Alignment::End
                                 : (flags & TPM_CENTERALIGN) != 0 ? Alignment::Centre
                                                                  : Alignment::Start;
    const Alignment vertical = (flags & TPM_BOTTOMALIGN) != 0    ? Alignment::End
                               : (flags & TPM_VCENTERALIGN) != 0 ? Alignment::Centre
                                                                 : Alignment::Start;
    LONG left = PlaceAlong(point.x, size.cx, horizontal, screen.cx);
    LONG top = PlaceAlong(point.y, size.cy, vertical, screen.cy);
    if (exclude && Overlap({left, top, left + size.cx, top + size.cy}, *exclude)) {
        const bool preferAbove = vertical == Alignment::End;
        const bool preferLeft = horizontal == Alignment::End;
        if ((flags & TPM_VERTICAL) != 0) {
            AvoidAlong(top, size.cy, exclude->top, exclude->bottom, preferAbove, screen.cy) ||
                AvoidAlong(left, size.cx, exclude->left, exclude->right, preferLeft, screen.cx);
        } else {
            AvoidAlong(left, size.cx, exclude->left, exclude->right, preferLeft, screen.cx) ||
                AvoidAlong(top, size.cy, exclude->top, exclude->bottom, preferAbove, screen.cy);
        }
    }
    return {left, top, left + size.cx, top + size.cy};
}

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
