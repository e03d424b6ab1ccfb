#include "platform/user/defaults/dialog_manager.h"

#include <algorithm>

#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/default_support.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_navigation.h"
#include "platform/user/defaults/dialog_scroll.h"
#include "platform/user/defaults/dialog_state.h"
#include "platform/user/defaults/modal_loop.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// What a dialog returns when its window went without EndDialog.
constexpr INT_PTR kResultWhenGone = 0;

void RegisterDialogClass() {
    if (GetClassInfoW(nullptr, kDialogClassName, nullptr) != 0) {
        return;
    }
    WNDCLASSW attributes;
    attributes.lpfnWndProc = DefDlgProcW;
    attributes.cbWndExtra = DLGWINDOWEXTRA;
    attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    attributes.lpszClassName = kDialogClassName.data();
    RegisterClassW(&attributes);
}

UniqueFont TemplateFont(const DialogTemplate& dialogTemplate) {
    if (dialogTemplate.pointSize == 0) {
        return nullptr;
    }
    LOGFONTW attributes;
    // Points at the device's 96 pixels per inch, rounded.
    attributes.lfHeight = -((dialogTemplate.pointSize * 96 + 36) / 72);
    const std::size_t length =
        std::min<std::size_t>(dialogTemplate.fontName.size(), LF_FACESIZE - 1);
    std::copy_n(dialogTemplate.fontName.begin(), length, attributes.lfFaceName);
    return UniqueFont(CreateFontIndirectW(&attributes));
}

// A dialog unit in pixels: a quarter of the font's average letter width (measured over the Latin
// alphabet and rounded, as the device does), an eighth of its height.
SIZE BaseUnits(HFONT font) {
    static constexpr std::u16string_view kAlphabet =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    DeviceContext dc(1);
    SelectionScope selection(&dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(&dc, &metrics);
    RECT alphabet{};
    DrawTextW(&dc, kAlphabet, &alphabet, DT_CALCRECT | DT_SINGLELINE);
    const LONG width = (alphabet.right / 26 + 1) / 2;
    return {std::max<LONG>(width, 1), std::max<LONG>(metrics.tmHeight, 1)};
}

RECT ToPixels(int x, int y, int cx, int cy, SIZE base) {
    return {x * base.cx / 4, y * base.cy / 8, (x + cx) * base.cx / 4, (y + cy) * base.cy / 8};
}

HWND FirstTabStop(HWND dialog) {
    return GetNextDlgTabItem(dialog, nullptr, 0);
}

// The first control that answers as a default push button becomes the dialog's default.
void RecordDefaultButton(HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            DialogState(dialog).SetDefaultId(static_cast<WORD>(GetDlgCtrlID(control)));
            return;
        }
    }
}

bool IsDialog(HWND window) {
    return IsWindowOfClass(window, kDialogClassName);
}

// A child dialog is a page inside its parent; any other is a pop-up over its owner.
HWND CreateDialogFromTemplate(HINSTANCE module, const DialogTemplate& dialogTemplate, HWND parent,
                              DWORD style, DLGPROC procedure, LPARAM parameter) {
    RegisterDialogClass();
    UniqueFont font = TemplateFont(dialogTemplate);
    const SIZE base = BaseUnits(font.get());
    RECT rect =
        ToPixels(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy, base);
    POINT origin{};
    if ((style & WS_CHILD) == 0) {
        ClientToScreen(parent, &origin);
    }
    const HWND dialog =
        CreateWindowExW(dialogTemplate.exStyle, kDialogClassName, dialogTemplate.caption,
                        style & ~WS_VISIBLE, origin.x + rect.left, origin.y + rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent, 0, module, nullptr);
    if (!dialog) {
        return nullptr;
    }
    const HFONT dialogFont = font.get();
    WindowFromHandle(dialog)->KeepFont(std::move(font));
    SetWindowLongW(dialog, DWL_DLGPROC, ProcedureToLong(procedure));
    if (dialogFont) {
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), 0);
    }
    for (const DialogItemTemplate& item : dialogTemplate.items) {
        rect = ToPixels(item.x, item.y, item.cx, item.cy, base);
        const HWND control = CreateWindowExW(
            item.exStyle, item.className, item.text, (item.style | WS_CHILD) & ~WS_POPUP, rect.left,
            rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog, item.id, module,
            nullptr);
        if (!control) {
            DestroyWindow(dialog);
            return nullptr;
        }
        if (dialogFont) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), 0);
        }
    }
    RecordDefaultButton(dialog);
    const HWND first = FirstTabStop(dialog);
    const LRESULT focusFirst = SendMessageW(dialog, WM_INITDIALOG, HandleParam(first), parameter);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (focusFirst && first && IsChild(dialog, first)) {
        // A pop-up takes it when it is activated; a page at once, when its window is active.
        const bool page = (style & WS_CHILD) != 0;
        if (page && GetActiveWindow() && IsChild(GetActiveWindow(), dialog)) {
            MoveDialogFocus(dialog, first);
        } else if (!DialogState(dialog).SavedFocus()) {
            PrepareDialogFocus(dialog, first);
        }
    }
    return dialog;
}

// Gives the focus back to the control that had it, or to the first tab stop.
void RestoreFocus(HWND dialog) {
    const HWND saved = DialogState(dialog).SavedFocus();
    if (saved && IsChild(dialog, saved) && IsWindowEnabled(saved) && IsWindowVisible(saved)) {
        SetFocus(saved);
    } else if (const HWND first = FirstTabStop(dialog)) {
        MoveDialogFocus(dialog, first);
    } else if (GetFocus() != dialog) {
        SetFocus(dialog);
    }
}

LRESULT MoveToNextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) {
        target = HandleFromParam(wParam);
    } else {
        const HWND focus = GetFocus();
        target = GetNextDlgTabItem(dialog, IsChild(dialog, focus) ? focus : nullptr,
                                   wParam != 0 ? 1 : 0);
    }
    MoveDialogFocus(dialog, target);
    return 0;
}

LRESULT SetDefaultId(HWND dialog, WPARAM id) {
    DialogState(dialog).SetDefaultId(static_cast<WORD>(id));
    const HWND focus = GetFocus();
    ShowDefaultButtonLook(dialog, IsChild(dialog, focus) ? focus : nullptr);
    return 1;
}

}  // namespace

bool DialogAnswersByReturnValue(UINT message) {
    return message == WM_CHARTOITEM || message == WM_VKEYTOITEM || message == WM_QUERYDRAGICON ||
           message == WM_COMPAREITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM parameter) {
    if (!GetDesktopWindow() || !dialogTemplate || (owner && !IsWindow(owner))) {
        return -1;
    }
    const HWND previousActive = GetActiveWindow();
    const DWORD style = (dialogTemplate->style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    const HWND dialog =
        CreateDialogFromTemplate(module, *dialogTemplate, owner, style, procedure, parameter);
    if (!dialog) {
        return -1;
    }
    INT_PTR result = kResultWhenGone;
    {
        ModalLoop loop(dialog, kResultWhenGone);
        if (const auto ended = DialogState(dialog).EndResult()) {
            result = *ended;
        } else {
            result = loop.Run(
                [dialog](const MSG& message) { return IsDialogMessageW(dialog, &message) != 0; });
        }
    }
    DestroyWindow(dialog);
    if (IsWindowVisible(previousActive) && IsWindowEnabled(previousActive)) {
        SetActiveWindow(previousActive);
    }
    return result;
}

INT_PTR DialogBoxParamW(HINSTANCE module, int templateId, HWND owner, DLGPROC procedure,
                        LPARAM parameter) {
    const DialogTemplate* dialogTemplate =
        module ? module->FindResource<DialogTemplate>(templateId) : nullptr;
    return DialogBoxIndirectParamW(module, dialogTemplate, owner, procedure, parameter);
}

HWND CreateDialogIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM parameter) {
    if (!GetDesktopWindow() || !dialogTemplate || (parent && !IsWindow(parent))) {
        return nullptr;
    }
    const bool page = (dialogTemplate->style & WS_CHILD) != 0;
    if (page && !parent) {
        return nullptr;
    }
    const DWORD style = page ? dialogTemplate->style & ~WS_POPUP : dialogTemplate->style;
    const HWND dialog =
        CreateDialogFromTemplate(module, *dialogTemplate, parent, style, procedure, parameter);
    if (dialog && (dialogTemplate->style & WS_VISIBLE) != 0) {
        ShowWindow(dialog, SW_SHOW);
    }
    return IsWindow(dialog) ? dialog : nullptr;
}

HWND CreateDialogParamW(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure,
                        LPARAM parameter) {
    const DialogTemplate* dialogTemplate =
        module ? module->FindResource<DialogTemplate>(templateId) : nullptr;
    return CreateDialogIndirectParamW(module, dialogTemplate, parent, procedure, parameter);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (!IsWindow(dialog) || !IsDialog(dialog)) {
        return 0;
    }
    DialogState(dialog).SetEndResult(result);
    if (ModalLoop* loop = FindModalLoop(dialog)) {
        loop->End(result);
    }
    return 1;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(dialog)) {
        return 0;
    }
    if (const auto procedure = LongToProcedure<DLGPROC>(GetWindowLongW(dialog, DWL_DLGPROC))) {
        const INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (handled) {
            if (DialogAnswersByReturnValue(message) || message == WM_INITDIALOG) {
                return handled;
            }
            return GetWindowLongW(dialog, DWL_MSGRESULT);
        }
    }
    switch (message) {
        case WM_INITDIALOG:
            return 0;
        case WM_CLOSE:
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         PointerParam(GetDlgItem(dialog, IDCANCEL)));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (const HWND focus = GetFocus(); IsChild(dialog, focus)) {
                    DialogState(dialog).SaveFocus(focus);
                }
            } else {
                RestoreFocus(dialog);
            }
            return 0;
        case WM_SETFOCUS:
            // The dialog passes the keyboard on to its control.
            if (const HWND saved = DialogState(dialog).SavedFocus(); IsChild(dialog, saved)) {
                RestoreFocus(dialog);
            }
            return 0;
        case WM_NEXTDLGCTL:
            return MoveToNextControl(dialog, wParam, lParam);
        case DM_GETDEFID:
            if (const WORD id = DialogState(dialog).DefaultId(); id != 0) {
                return MAKELPARAM(id, DC_HASDEFID);
            }
            return 0;
        case DM_SETDEFID:
            return SetDefaultId(dialog, wParam);
        case WM_VSCROLL:
            if (!DialogScrolls(dialog)) {
                return DefWindowProcW(dialog, message, wParam, lParam);
            }
            OnDialogScroll(dialog, LOWORD(wParam));
            return 0;
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}  // namespace qv
