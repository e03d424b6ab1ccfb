#include "platform/user/defaults/dialog_navigation.h"

#include <vector>

#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_scroll.h"
#include "platform/user/defaults/dialog_state.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

LRESULT DialogCode(HWND control, WPARAM key, const MSG* message) {
    return SendMessageW(control, WM_GETDLGCODE, key, PointerParam(message));
}

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

bool Reachable(HWND control) {
    return (StyleOf(control) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

bool IsPushButton(LRESULT code) {
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        controls.push_back(control);
    }
    return controls;
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

std::ptrdiff_t IndexOf(const std::vector<HWND>& controls, HWND control) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == control) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

// The first control from `from`, stepping round the range [begin, end) in the direction, that
// passes the test; `from` itself comes last.
template <typename Test>
HWND StepRound(const std::vector<HWND>& controls, std::ptrdiff_t begin, std::ptrdiff_t end,
               std::ptrdiff_t from, bool previous, Test test) {
    const std::ptrdiff_t size = end - begin;
    const std::ptrdiff_t step = previous ? -1 : 1;
    for (std::ptrdiff_t i = 1; i <= size; ++i) {
        const std::ptrdiff_t at = begin + (((from - begin + step * i) % size) + size) % size;
        if (test(controls[static_cast<std::size_t>(at)])) {
            return controls[static_cast<std::size_t>(at)];
        }
    }
    return nullptr;
}

void Command(HWND dialog, int id, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), PointerParam(control));
}

void PressDefault(HWND dialog, HWND focus, LRESULT focusCode) {
    if (focus != dialog && IsChild(dialog, focus) && (focusCode & DLGC_DEFPUSHBUTTON) != 0) {
        Command(dialog, GetDlgCtrlID(focus), focus);
        return;
    }
    const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<std::uintptr_t>(defaultId)) != DC_HASDEFID) {
        Command(dialog, IDOK, GetDlgItem(dialog, IDOK));
        return;
    }
    const int id = LOWORD(static_cast<std::uintptr_t>(defaultId));
    const HWND button = GetDlgItem(dialog, id);
    if (!button || IsWindowEnabled(button)) {
        Command(dialog, id, button);
    }
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
    const HWND control = ControlHolding(dialog, from);
    const HWND next = control ? GetNextDlgGroupItem(dialog, control, previous ? 1 : 0) : nullptr;
    if (!next || next == control) {
        return;
    }
    MoveDialogFocus(dialog, next);
    const bool autoRadio = (DialogCode(next, 0, nullptr) & DLGC_RADIOBUTTON) != 0 &&
                           (StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (autoRadio && IsWindow(next) && SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SendMessageW(next, BM_CLICK, 0, 0);
    }
}

// True when the key was the dialog's to handle.
bool HandleKey(HWND dialog, const MSG& message) {
    const WPARAM key = message.wParam;
    const bool arrow = key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
    if (!arrow && key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) {
        return false;
    }
    const LRESULT code = DialogCode(message.hwnd, key, &message);
    if ((code & DLGC_WANTALLKEYS) != 0) {
        return false;
    }
    if (key == VK_TAB) {
        if ((code & DLGC_WANTTAB) != 0) {
            return false;
        }
        const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        SendMessageW(dialog, WM_NEXTDLGCTL, shift ? 1 : 0, 0);
        return true;
    }
    if (arrow) {
        if ((code & DLGC_WANTARROWS) != 0) {
            return false;
        }
        MoveInGroup(dialog, message.hwnd, key == VK_LEFT || key == VK_UP);
        return true;
    }
    if (key == VK_RETURN) {
        PressDefault(dialog, message.hwnd, code);
    } else {
        Command(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL));
    }
    return true;
}

}  // namespace

BOOL IsDialogMessageW(HWND dialog, const MSG* message) {
    if (!message || !IsWindow(dialog) ||
        (message->hwnd != dialog && !IsChild(dialog, message->hwnd))) {
        return 0;
    }
    if (message->message == WM_KEYDOWN && HandleKey(dialog, *message)) {
        return 1;
    }
    const HWND focusBefore = GetFocus();
    TranslateMessage(message);
    DispatchMessageW(message);
    // A control that took the focus from the pen gets the default look as if a key had moved
    // the focus there; SetFocus from code leaves the look alone.
    if (message->message == WM_LBUTTONDOWN && IsWindow(dialog)) {
        const HWND focus = GetFocus();
        if (focus != focusBefore && IsChild(dialog, focus)) {
            ShowDefaultButtonLook(dialog, focus);
            ScrollToControlOnPenUp(dialog, focus);
        }
    } else if (message->message == WM_LBUTTONUP) {
        PenLiftedInDialog(dialog);
    }
    return 1;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    const std::vector<HWND> controls = Controls(dialog);
    const HWND from = control ? ControlHolding(dialog, control) : nullptr;
    if (controls.empty() || (control && !from)) {
        return nullptr;
    }
    const auto size = static_cast<std::ptrdiff_t>(controls.size());
    // Without a control the walk starts just outside the list.
    const std::ptrdiff_t at = from ? IndexOf(controls, from) : (previous ? size : -1);
    const HWND next = StepRound(controls, 0, size, at, previous != 0, [](HWND candidate) {
        return (StyleOf(candidate) & WS_TABSTOP) != 0 && Reachable(candidate);
    });
    return next ? next : from;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    const HWND from = IsWindow(dialog) ? ControlHolding(dialog, control) : nullptr;
    if (!from) {
        return nullptr;
    }
    const std::vector<HWND> group = ControlGroup(from);
    const auto size = static_cast<std::ptrdiff_t>(group.size());
    const HWND next = StepRound(group, 0, size, IndexOf(group, from), previous != 0, Reachable);
    return next ? next : from;
}

std::vector<HWND> ControlGroup(HWND control) {
    HWND first = control;
    while ((StyleOf(first) & WS_GROUP) == 0) {
        const HWND before = GetWindow(first, GW_HWNDPREV);
        if (!before) {
            break;
        }
        first = before;
    }
    std::vector<HWND> group{first};
    for (HWND next = GetWindow(first, GW_HWNDNEXT); next && (StyleOf(next) & WS_GROUP) == 0;
         next = GetWindow(next, GW_HWNDNEXT)) {
        group.push_back(next);
    }
    return group;
}

void PrepareDialogFocus(HWND dialog, HWND control) {
    if (!control || !IsChild(dialog, control)) {
        return;
    }
    if ((DialogCode(control, 0, nullptr) & DLGC_HASSETSEL) != 0) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
    ShowDefaultButtonLook(dialog, control);
    DialogState(dialog).SaveFocus(control);
}

void MoveDialogFocus(HWND dialog, HWND control) {
    PrepareDialogFocus(dialog, control);
    if (control && IsChild(dialog, control)) {
        SetFocus(control);
        ScrollDialogToControl(dialog, control);
    }
}

void ShowDefaultButtonLook(HWND dialog, HWND focus) {
    HWND wanted = nullptr;
    if (focus && IsChild(dialog, focus) && IsPushButton(DialogCode(focus, 0, nullptr))) {
        wanted = focus;
    } else if (const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
               HIWORD(static_cast<std::uintptr_t>(defaultId)) == DC_HASDEFID) {
        wanted = GetDlgItem(dialog, LOWORD(static_cast<std::uintptr_t>(defaultId)));
    }
    for (const HWND control : Controls(dialog)) {
        if (control != wanted && (DialogCode(control, 0, nullptr) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageW(control, BM_SETSTYLE, BS_PUSHBUTTON, 1);
        }
    }
    if (wanted && (DialogCode(wanted, 0, nullptr) & DLGC_UNDEFPUSHBUTTON) != 0) {
        SendMessageW(wanted, BM_SETSTYLE, BS_DEFPUSHBUTTON, 1);
    }
}

}  // namespace qv
