#include "platform/controls/button.h"

#include "platform/controls/button_painter.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/defaults/dialog_navigation.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
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
            for (const HWND other : ControlGroup(self)) {
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

void Button::OnPenDown(POINT) {
    if (GetFocus() != Window()) {
        SetFocus(Window());
    }
    Apply(press_.PenDown(Window()));
}

void Button::OnPenMove(POINT point, bool) {
    Apply(press_.PenMove(Window(), point));
}

void Button::OnPenUp(POINT point) {
    Apply(press_.PenUp(Window(), point));
}

void Button::OnCaptureLost() {
    Apply(press_.Cancel(Window()));
}

void Button::OnKeyDown(int key) {
    Apply(press_.KeyDown(key));
}

void Button::OnKeyUp(int key) {
    Apply(press_.KeyUp(key));
}

void Button::OnFocus() {
    focused_ = true;
    Redraw();
}

void Button::OnFocusLost() {
    focused_ = false;
    Apply(press_.Cancel(Window()));
    Redraw();
}

LRESULT Button::DialogCode() const {
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
}

std::optional<LRESULT> Button::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND self = Window();
    switch (message) {
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
            return std::nullopt;
    }
}

void Button::OnPaint(const PaintEvent& paint) {
    if (Type() == BS_OWNERDRAW) {
        PaintOwnerDrawn(paint.dc, paint.client);
        return;
    }
    const std::u16string text = GetWindowText(Window());
    ButtonLook look;
    look.kind = LookKind(Type());
    look.text = text;
    look.font = TextFont();
    look.pressed = press_.Pressed();
    look.focused = focused_;
    look.checked = check_ == BST_CHECKED;
    look.disabled = !IsWindowEnabled(Window());
    if (look.kind == ButtonLook::Kind::CheckBox || look.kind == ButtonLook::Kind::Radio) {
        look.background = ParentBackground(Window(), paint.dc, WM_CTLCOLORSTATIC);
    }
    PaintButton(paint.dc, paint.client, look);
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
