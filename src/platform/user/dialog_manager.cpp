#include "platform/user/dialog_manager.h"

#include <algorithm>

#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/input_functions.h"
#include "platform/user/message_functions.h"
#include "platform/user/modal_loop.h"
#include "platform/user/paint_functions.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"
#include "platform/user/window_system.h"

namespace qv {

namespace {

constexpr WORD BN_CLICKED = 0;
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

// A dialog unit in pixels: a quarter of the font's average width, an eighth of its height.
SIZE BaseUnits(HFONT font) {
    DeviceContext dc(1);
    SelectionScope selection(&dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(&dc, &metrics);
    return {std::max<LONG>(metrics.tmAveCharWidth, 1), std::max<LONG>(metrics.tmHeight, 1)};
}

RECT ToPixels(int x, int y, int cx, int cy, SIZE base) {
    return {x * base.cx / 4, y * base.cy / 8, (x + cx) * base.cx / 4, (y + cy) * base.cy / 8};
}

HWND FirstTabStop(HWND dialog) {
    // Z-order is template order.
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0) {
            return control;
        }
    }
    return nullptr;
}

HWND CreateDialogFromTemplate(WindowSystem& system, HINSTANCE module,
                              const DialogTemplate& dialogTemplate, HWND owner, DLGPROC procedure,
                              LPARAM parameter) {
    RegisterDialogClass();
    UniqueFont font = TemplateFont(dialogTemplate);
    const SIZE base = BaseUnits(font.get());
    RECT rect =
        ToPixels(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy, base);
    POINT origin{};
    ClientToScreen(owner, &origin);
    const DWORD style = (dialogTemplate.style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    const HWND dialog =
        CreateWindowExW(dialogTemplate.exStyle, kDialogClassName, dialogTemplate.caption, style,
                        origin.x + rect.left, origin.y + rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, owner, 0, module, nullptr);
    if (!dialog) {
        return nullptr;
    }
    const HFONT dialogFont = font.get();
    system.Find(dialog)->ownedFont = std::move(font);
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
    const HWND first = FirstTabStop(dialog);
    const LRESULT focusFirst = SendMessageW(dialog, WM_INITDIALOG, HandleParam(first), parameter);
    Window* made = system.Find(dialog);
    if (!made) {
        return nullptr;
    }
    if (focusFirst && first && !made->dialogFocus) {
        made->dialogFocus = first;
    }
    return dialog;
}

}  // namespace

bool DialogAnswersByReturnValue(UINT message) {
    return message == WM_CHARTOITEM || message == WM_VKEYTOITEM || message == WM_QUERYDRAGICON ||
           message == WM_COMPAREITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM parameter) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || !dialogTemplate || (owner && !system->Find(owner))) {
        return -1;
    }
    const HWND previousActive = system->Active();
    const HWND dialog =
        CreateDialogFromTemplate(*system, module, *dialogTemplate, owner, procedure, parameter);
    if (!dialog) {
        return -1;
    }
    INT_PTR result = kResultWhenGone;
    {
        ModalLoop loop(*system, dialog, kResultWhenGone);
        const Window* window = system->Find(dialog);
        if (window && window->dialogEnd) {
            result = *window->dialogEnd;
        } else {
            result = loop.Run(ModalLoop::Keys::Dialog);
        }
    }
    DestroyWindow(dialog);
    if (const Window* previous = system->Find(previousActive);
        previous && previous->IsShown() && previous->IsEnabledTree()) {
        system->Activate(previousActive, WA_ACTIVE);
    }
    return result;
}

INT_PTR DialogBoxParamW(HINSTANCE module, int templateId, HWND owner, DLGPROC procedure,
                        LPARAM parameter) {
    const DialogTemplate* dialogTemplate =
        module ? module->FindResource<DialogTemplate>(templateId) : nullptr;
    return DialogBoxIndirectParamW(module, dialogTemplate, owner, procedure, parameter);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    WindowSystem* system = WindowSystem::Current();
    Window* window = system ? system->Find(dialog) : nullptr;
    if (!window || window->Class()->name != kDialogClassName) {
        return 0;
    }
    window->dialogEnd = result;
    if (ModalLoop* loop = system->FindModal(dialog)) {
        loop->End(result);
    }
    return 1;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem* system = WindowSystem::Current();
    const Window* window = system ? system->Find(dialog) : nullptr;
    if (!window) {
        return 0;
    }
    if (const DLGPROC procedure = window->dialogProcedure) {
        const INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (handled) {
            if (DialogAnswersByReturnValue(message) || message == WM_INITDIALOG) {
                return handled;
            }
            const Window* still = system->Find(dialog);
            return still ? still->dialogResult : 0;
        }
    }
    switch (message) {
        case WM_INITDIALOG:
            return 0;
        case WM_CLOSE:
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         PointerParam(GetDlgItem(dialog, IDCANCEL)));
            return 0;
        case WM_ACTIVATE: {
            Window* found = system->Find(dialog);
            if (!found) {
                return 0;
            }
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (const HWND focus = GetFocus(); focus && IsChild(dialog, focus)) {
                    found->dialogFocus = focus;
                }
                return 0;
            }
            HWND target = found->dialogFocus;
            if (!target || !IsChild(dialog, target)) {
                target = FirstTabStop(dialog);
            }
            SetFocus(target ? target : dialog);
            return 0;
        }
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

BOOL IsDialogMessageW(HWND dialog, const MSG* message) {
    if (!message || !IsWindow(dialog) ||
        (message->hwnd != dialog && !IsChild(dialog, message->hwnd))) {
        return 0;
    }
    if (message->message == WM_KEYDOWN &&
        (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE)) {
        const LRESULT code =
            SendMessageW(message->hwnd, WM_GETDLGCODE, message->wParam, PointerParam(message));
        if ((code & DLGC_WANTALLKEYS) == 0) {
            const int id = message->wParam == VK_RETURN ? IDOK : IDCANCEL;
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         PointerParam(GetDlgItem(dialog, id)));
            return 1;
        }
    }
    TranslateMessage(message);
    DispatchMessageW(message);
    return 1;
}

}  // namespace qv
