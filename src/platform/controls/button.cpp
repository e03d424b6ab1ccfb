#include "platform/controls/button.h"

#include <vector>

#include "platform/controls/button_painter.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

POINT PenPoint(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The siblings of the control's group: from the nearest one at or before it that starts a
// group up to the next one that starts another.
std::vector<HWND> GroupOf(HWND control) {
    HWND first = control;
    while ((StyleOf(first) & WS_GROUP) == 0) {
        const HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!previous) {
            break;
        }
        first = previous;
    }
    std::vector<HWND> group{first};
    for (HWND next = GetWindow(first, GW_HWNDNEXT); next && (StyleOf(next) & WS_GROUP) == 0;
         next = GetWindow(next, GW_HWNDNEXT)) {
        group.push_back(next);
    }
    return group;
}

ButtonLook::Kind LookKind(DWORD type) {
    switch (type) {
        case BS_DEFPUSHBUTTON:
            return ButtonLook::Kind::DefaultPush;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            return ButtonLook::Kind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ButtonLook::Kind::Radio;
        default:
            return ButtonLook::Kind::Push;
    }
}

bool Checkable(DWORD type) {
    const ButtonLook::Kind kind = LookKind(type);
    return kind == ButtonLook::Kind::CheckBox || kind == ButtonLook::Kind::Radio;
}

}  // namespace

Button::Button(HWND window, const CREATESTRUCTW&) : ControlState(window) {}

DWORD Button::Type() const {
    return StyleOf(Window()) & BS_TYPEMASK;
}

void Button::Redraw() {
    InvalidateRect(Window(), nullptr, 0);
}

void Button::Apply(ButtonPress::Result result) {
    if (result.redraw) {
        Redraw();
    }
    if (result.click) {
        Click();
    }
}

void Button::SetCheck(LRESULT check) {
    if (check_ != check) {
        check_ = check;
        Redraw();
    }
}

void Button::Click() {
    const HWND self = Window();
    switch (Type()) {
        case BS_AUTOCHECKBOX:
            SetCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTORADIOBUTTON:
            for (const HWND other : GroupOf(self)) {
                if (other != self &&
                    (SendMessageW(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) {
                    SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
                }
            }
            SetCheck(BST_CHECKED);
            break;
        default:
            break;
    }
    // The parent may destroy the button here; nothing of it is touched afterwards.
    SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                 PointerParam(self));
}

std::optional<LRESULT> Button::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND self = Window();
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_LBUTTONDOWN:
            if (GetFocus() != self) {
                SetFocus(self);
            }
            Apply(press_.PenDown(self));
            return 0;
        case WM_MOUSEMOVE:
            Apply(press_.PenMove(self, PenPoint(lParam)));
            return 0;
        case WM_LBUTTONUP:
            Apply(press_.PenUp(self, PenPoint(lParam)));
            return 0;
        case WM_KEYDOWN:
            Apply(press_.KeyDown(static_cast<int>(wParam)));
            return 0;
        case WM_KEYUP:
            Apply(press_.KeyUp(static_cast<int>(wParam)));
            return 0;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            Apply(press_.Cancel(self));
            return message == WM_CANCELMODE ? DefWindowProcW(self, message, wParam, lParam) : 0;
        case WM_SETFOCUS:
            focused_ = true;
            Redraw();
            return 0;
        case WM_KILLFOCUS:
            focused_ = false;
            Apply(press_.Cancel(self));
            Redraw();
            return 0;
        case WM_ENABLE:
            Redraw();
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(self, message, wParam, lParam);
            Redraw();
            return result;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            return DefWindowProcW(self, message, wParam, lParam);
        case WM_GETDLGCODE:
            switch (Type()) {
                case BS_DEFPUSHBUTTON:
                    return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
                case BS_PUSHBUTTON:
                case BS_OWNERDRAW:
                    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON:
                    return DLGC_BUTTON | DLGC_RADIOBUTTON;
                default:
                    return DLGC_BUTTON;
            }
        case BM_GETCHECK:
            return check_;
        case BM_SETCHECK:
            if (Checkable(Type())) {
                SetCheck(wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
            }
            return 0;
        case BM_GETSTATE:
            return check_ | (press_.Pressed() ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0);
        case BM_SETSTATE:
            Apply(press_.Show(wParam != 0));
            return 0;
        case BM_SETSTYLE: {
            // The dialog manager moves the default look between push buttons; a button its
            // parent draws keeps being drawn by it.
            const DWORD type = Type() == BS_OWNERDRAW ? BS_OWNERDRAW : (wParam & BS_TYPEMASK);
            const DWORD style = (StyleOf(self) & ~BS_TYPEMASK) | type;
            SetWindowLongW(self, GWL_STYLE, static_cast<LONG_PTR>(style));
            if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) {
                Redraw();
            }
            return 0;
        }
        case BM_CLICK:
            if (IsWindowEnabled(self)) {
                Click();
            }
            return 0;
        default:
            return DefWindowProcW(self, message, wParam, lParam);
    }
}

void Button::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Window(), &paint);
    RECT client;
    GetClientRect(Window(), &client);
    if (Type() == BS_OWNERDRAW) {
        PaintOwnerDrawn(dc, client);
    } else {
        const std::u16string text = GetWindowText(Window());
        ButtonLook look;
        look.kind = LookKind(Type());
        look.text = text;
        look.font = font_;
        look.pressed = press_.Pressed();
        look.focused = focused_;
        look.checked = check_ == BST_CHECKED;
        look.disabled = !IsWindowEnabled(Window());
        if (look.kind == ButtonLook::Kind::CheckBox || look.kind == ButtonLook::Kind::Radio) {
            look.background = ParentBackground(Window(), dc, WM_CTLCOLORSTATIC);
        }
        PaintButton(dc, client, look);
    }
    EndPaint(Window(), &paint);
}

void Button::PaintOwnerDrawn(HDC dc, const RECT& client) {
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(Window()));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (press_.Pressed() ? ODS_SELECTED : 0) | (focused_ ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(Window()) ? 0 : ODS_DISABLED);
    item.hwndItem = Window();
    item.hDC = dc;
    item.rcItem = client;
    SendMessageW(GetParent(Window()), WM_DRAWITEM, static_cast<WPARAM>(item.CtlID),
                 PointerParam(&item));
}

bool RegisterButtonClass() {
    return RegisterControlClass<Button>(kButtonClassName) != 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND button = GetDlgItem(dialog, id);
    if (!button) {
        return 0;
    }
    SendMessageW(button, BM_SETCHECK, check, 0);
    return 1;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    if (!GetDlgItem(dialog, check)) {
        return 0;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id >= first && id <= last) {
            SendMessageW(child, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return 1;
}

}  // namespace qv
