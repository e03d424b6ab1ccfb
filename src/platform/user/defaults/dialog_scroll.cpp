#include "platform/user/defaults/dialog_scroll.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr std::u16string_view kScrollingProperty = u"qv.dialog.scrolling";
constexpr std::u16string_view kOffsetProperty = u"qv.dialog.scrollOffset";
constexpr std::u16string_view kTappedProperty = u"qv.dialog.tappedControl";

int ClientHeight(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    return client.bottom;
}

// The child's rectangle in the dialog's client coordinates.
RECT ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    ScreenToClient(dialog, &topLeft);
    ScreenToClient(dialog, &bottomRight);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// Where the dialog's shown controls end, unscrolled. The dialog itself may not be shown yet.
int ControlsBottom(HWND dialog) {
    int bottom = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
            bottom = std::max(bottom, static_cast<int>(ChildRect(dialog, child).bottom));
        }
    }
    return bottom + DialogScrollOffset(dialog);
}

// How far the content reaches: with the margin below the controls when they need scrolling, so
// that a page laid out down to its bottom edge does not.
int ContentHeight(HWND dialog) {
    const int bottom = ControlsBottom(dialog);
    return bottom > ClientHeight(dialog) ? bottom + kDialogScrollMargin : bottom;
}

int LargestOffset(HWND dialog) {
    return std::max(0, ContentHeight(dialog) - ClientHeight(dialog));
}

// Moves the controls so that `offset` pixels of the content are above the client area.
void ScrollTo(HWND dialog, int offset) {
    const int previous = DialogScrollOffset(dialog);
    if (offset != previous) {
        // Collected first: a control may make or destroy windows when it moves.
        std::vector<HWND> children;
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            children.push_back(child);
        }
        for (const HWND child : children) {
            if (IsWindow(child) && GetParent(child) == dialog) {
                const RECT rect = ChildRect(dialog, child);
                SetWindowPos(child, nullptr, rect.left, rect.top + previous - offset, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        SetPropW(dialog, kOffsetProperty, offset);
        InvalidateRect(dialog, nullptr, 1);
    }
    if ((GetWindowLongW(dialog, GWL_STYLE) & WS_VSCROLL) != 0) {
        SetScrollPos(dialog, SB_VERT, offset, 1);
    }
}

// The dialog's own control that is or holds the window.
HWND ControlHolding(HWND dialog, HWND window) {
    for (HWND w = window; w && IsChild(dialog, w); w = GetParent(w)) {
        if (GetParent(w) == dialog) {
            return w;
        }
    }
    return nullptr;
}

}  // namespace

bool DialogScrolls(HWND dialog) {
    return IsWindow(dialog) && GetPropW(dialog, kScrollingProperty) != 0;
}

int DialogScrollOffset(HWND dialog) {
    return DialogScrolls(dialog) ? static_cast<int>(GetPropW(dialog, kOffsetProperty)) : 0;
}

void SetDialogScrolling(HWND dialog, bool on) {
    if (!IsWindowOfClass(dialog, kDialogClassName) || DialogScrolls(dialog) == on) {
        return;
    }
    if (on) {
        SetPropW(dialog, kScrollingProperty, 1);
        return;
    }
    ScrollTo(dialog, 0);
    ShowScrollBar(dialog, SB_VERT, 0);
    RemovePropW(dialog, kOffsetProperty);
    RemovePropW(dialog, kScrollingProperty);
}

void FitDialogScroll(HWND dialog) {
    if (!DialogScrolls(dialog)) {
        return;
    }
    const int content = ContentHeight(dialog);
    const int room = ClientHeight(dialog);
    if (content <= room) {
        ScrollTo(dialog, 0);
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, content - 1);
    info.nPage = static_cast<UINT>(std::max(0, room));
    info.nPos = DialogScrollOffset(dialog);
    // Shows the bar when the content is taller than the room, hides it when not.
    SetScrollInfo(dialog, SB_VERT, &info, 1);
    if (IsWindow(dialog)) {
        ScrollTo(dialog, std::min(DialogScrollOffset(dialog), LargestOffset(dialog)));
    }
}

void ScrollDialogToControl(HWND dialog, HWND window) {
    const HWND control = DialogScrolls(dialog) ? ControlHolding(dialog, window) : nullptr;
    if (!control) {
        return;
    }
    const RECT rect = ChildRect(dialog, control);
    const int room = ClientHeight(dialog);
    const int offset = DialogScrollOffset(dialog);
    // The margin kept below the content is kept round the control too, where there is room.
    int wanted = offset;
    if (rect.top < 0 || rect.bottom - rect.top > room) {
        wanted = offset + rect.top - kDialogScrollMargin;
    } else if (rect.bottom > room) {
        wanted = offset + rect.bottom + kDialogScrollMargin - room;
    }
    ScrollTo(dialog, std::clamp(wanted, 0, LargestOffset(dialog)));
}

void ScrollToControlOnPenUp(HWND dialog, HWND control) {
    if (DialogScrolls(dialog)) {
        SetPropW(dialog, kTappedProperty, static_cast<LONG_PTR>(HandleParam(control)));
    }
}

void PenLiftedInDialog(HWND dialog) {
    if (!IsWindow(dialog) || GetPropW(dialog, kTappedProperty) == 0) {
        return;
    }
    const HWND tapped =
        HandleFromParam(static_cast<std::uintptr_t>(RemovePropW(dialog, kTappedProperty)));
    // Only while it keeps the focus: a control the tap closed or left is not looked for.
    if (tapped == GetFocus()) {
        ScrollDialogToControl(dialog, tapped);
    }
}

void OnDialogScroll(HWND dialog, WORD code) {
    if (!DialogScrolls(dialog)) {
        return;
    }
    const int last = LargestOffset(dialog);
    if (const auto target =
            ScrollTarget(dialog, SB_VERT, code, DialogScrollOffset(dialog), kDialogScrollLine,
                         std::max(1, ClientHeight(dialog)), last)) {
        ScrollTo(dialog, static_cast<int>(std::clamp<long long>(*target, 0, last)));
    }
}

}  // namespace qv
