#include "platform/user/message_box.h"

#include <algorithm>
#include <string>

#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/default_window_procedure.h"
#include "platform/user/input_functions.h"
#include "platform/user/message_functions.h"
#include "platform/user/modal_loop.h"
#include "platform/user/paint_functions.h"
#include "platform/user/system_icons.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"
#include "platform/user/window_system.h"

namespace qv {

namespace {

constexpr std::u16string_view kBoxClass = u"QvMessageBox";
constexpr std::u16string_view kButtonClass = u"QvMessageBoxButton";

// The box's geometry, in screen pixels.
constexpr int kBoxWidth = 220;
constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 22;
// The top navigation bar and the bottom menu bar stay uncovered.
constexpr int kBarHeight = 26;
constexpr LONG kTextHeight = -11;

// The button keeps whether it is held down in its extra bytes.
constexpr int kPressedSlot = 0;

struct Layout {
    RECT window{};
    POINT icon{};
    RECT text{};
    RECT button{};
};

// What one box shows; it lives on the stack of MessageBoxW for as long as the box does.
struct BoxContent {
    std::u16string text;
    UniqueIcon icon;
    UniqueFont textFont;
    UniqueFont buttonFont;
    Layout layout;
};

const BoxContent* ContentOf(HWND box) {
    return reinterpret_cast<const BoxContent*>(GetWindowLongW(box, GWL_USERDATA));
}

void EndBox(HWND box) {
    if (ModalLoop* loop = WindowSystem::Current()->FindModal(box)) {
        loop->End(IDOK);
    }
}

LRESULT BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            const auto* creation = PointerFromParam<const CREATESTRUCTW>(lParam);
            SetWindowLongW(box, GWL_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(box, &paint);
            if (const BoxContent* content = ContentOf(box)) {
                if (content->icon) {
                    DrawIconEx(dc, content->layout.icon.x, content->layout.icon.y,
                               content->icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
                }
                SelectionScope font(dc, content->textFont.get());
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                RECT text = content->layout.text;
                DrawTextW(dc, content->text, &text, DT_LEFT | DT_WORDBREAK);
            }
            EndPaint(box, &paint);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                EndBox(box);
            }
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                EndBox(box);
            }
            return 0;
        case WM_CLOSE:
            EndBox(box);
            return 0;
        default:
            return DefWindowProcW(box, message, wParam, lParam);
    }
}

bool IsPressed(HWND button) {
    return GetWindowLongW(button, kPressedSlot) != 0;
}

void SetPressed(HWND button, bool pressed) {
    if (IsPressed(button) != pressed) {
        SetWindowLongW(button, kPressedSlot, pressed ? 1 : 0);
        InvalidateRect(button, nullptr, 0);
    }
}

bool Inside(HWND button, LPARAM position) {
    RECT client;
    GetClientRect(button, &client);
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

// Down, capture, up inside is a click, as every button of the device does it.
LRESULT ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetCapture(button);
            SetPressed(button, true);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == button) {
                SetPressed(button, Inside(button, lParam));
            }
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == button) {
                const bool click = Inside(button, lParam);
                ReleaseCapture();
                SetPressed(button, false);
                if (click) {
                    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), 0),
                                 PointerParam(button));
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            SetPressed(button, false);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(button, &paint);
            RECT client;
            GetClientRect(button, &client);
            const bool pressed = IsPressed(button);
            const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
            const COLORREF paper = GetSysColor(COLOR_WINDOW);
            UniquePen frame(CreatePen(PS_SOLID, 1, ink));
            UniqueBrush fill(CreateSolidBrush(pressed ? ink : paper));
            {
                SelectionScope pen(dc, frame.get());
                SelectionScope brush(dc, fill.get());
                Rectangle(dc, client.left, client.top, client.right, client.bottom);
            }
            {
                SelectionScope font(
                    dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, pressed ? paper : ink);
                const std::u16string label = GetWindowText(button);
                DrawTextW(dc, label, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
            EndPaint(button, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(button, message, wParam, lParam);
    }
}

void RegisterClasses() {
    if (GetClassInfoW(nullptr, kBoxClass, nullptr) == 0) {
        WNDCLASSW box;
        box.lpfnWndProc = BoxProcedure;
        box.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        box.lpszClassName = kBoxClass.data();
        RegisterClassW(&box);
    }
    if (GetClassInfoW(nullptr, kButtonClass, nullptr) == 0) {
        WNDCLASSW button;
        button.lpfnWndProc = ButtonProcedure;
        button.cbWndExtra = sizeof(LONG_PTR);
        button.lpszClassName = kButtonClass.data();
        RegisterClassW(&button);
    }
}

UniqueFont MakeFont(LONG weight) {
    LOGFONTW attributes;
    attributes.lfHeight = kTextHeight;
    attributes.lfWeight = weight;
    return UniqueFont(CreateFontIndirectW(&attributes));
}

// Icon and text side by side, the button centred below; the box grows with the text up to the
// room between the bars, and text that does not fit is cut.
Layout LayOut(const BoxContent& content, DWORD style) {
    Layout layout;
    const int clientWidth = kBoxWidth - 2;
    const int textLeft = content.icon ? kMargin + kIconSize + kMargin : kMargin;
    RECT text{textLeft, kMargin + 2, clientWidth - kMargin, kMargin + 2};
    {
        DeviceContext measure(1);
        SelectionScope font(&measure, content.textFont.get());
        DrawTextW(&measure, content.text, &text, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
    }
    text.right = clientWidth - kMargin;
    const int textHeight = text.bottom - text.top;
    if (content.icon && textHeight < kIconSize) {
        text.top = kMargin + 2 + (kIconSize - textHeight) / 2;
        text.bottom = text.top + textHeight;
    }
    layout.icon = {kMargin, kMargin + 2};
    const int contentBottom =
        std::max(text.bottom, content.icon ? layout.icon.y + kIconSize : LONG{0});
    const RECT insets{1, 1 + ((style & WS_CAPTION) == WS_CAPTION ? Window::kCaptionHeight : 0), 1,
                      1};
    const int maxClientHeight = kScreenHeight - 2 * kBarHeight - insets.top - insets.bottom;
    int buttonTop = contentBottom + kMargin + 2;
    int clientHeight = buttonTop + kButtonHeight + kMargin;
    if (clientHeight > maxClientHeight) {
        clientHeight = maxClientHeight;
        buttonTop = clientHeight - kMargin - kButtonHeight;
        text.bottom = std::min<LONG>(text.bottom, buttonTop - kMargin);
    }
    layout.text = text;
    layout.button = {(clientWidth - kButtonWidth) / 2, buttonTop, (clientWidth + kButtonWidth) / 2,
                     buttonTop + kButtonHeight};
    const int height = clientHeight + insets.top + insets.bottom;
    const int left = (kScreenWidth - kBoxWidth) / 2;
    const int top = (kScreenHeight - height) / 2;
    layout.window = {left, top, left + kBoxWidth, top + height};
    return layout;
}

int IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return IDI_HAND;
        case MB_ICONASTERISK:
            return IDI_ASTERISK;
        default:
            return 0;
    }
}

}  // namespace

int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || (type & MB_TYPEMASK) != MB_OK) {
        return 0;
    }
    if (!system->Find(owner)) {
        owner = nullptr;
    }
    RegisterClasses();
    BoxContent content;
    content.text = text;
    if (const int icon = IconOf(type)) {
        content.icon.reset(LoadIconW(SystemModule(), icon));
    }
    content.textFont = MakeFont(FW_NORMAL);
    content.buttonFont = MakeFont(FW_BOLD);
    constexpr DWORD style = WS_POPUP | WS_CAPTION;
    content.layout = LayOut(content, style);

    const HWND previousActive = system->Active();
    const RECT& frame = content.layout.window;
    const DWORD exStyle = (type & MB_TOPMOST) != 0 ? WS_EX_TOPMOST : 0;
    const HWND box = CreateWindowExW(exStyle, kBoxClass, caption.empty() ? u"Ошибка" : caption,
                                     style, frame.left, frame.top, frame.right - frame.left,
                                     frame.bottom - frame.top, owner, 0, nullptr, &content);
    if (!box) {
        return 0;
    }
    const RECT& button = content.layout.button;
    const HWND ok = CreateWindowExW(0, kButtonClass, u"ok", WS_CHILD | WS_VISIBLE, button.left,
                                    button.top, button.right - button.left,
                                    button.bottom - button.top, box, IDOK, nullptr, nullptr);
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(content.buttonFont.get()), 0);
    INT_PTR result;
    {
        ModalLoop loop(*system, box, IDOK);
        result = loop.Run();
    }
    DestroyWindow(box);
    if (const Window* previous = system->Find(previousActive);
        previous && previous->IsShown() && previous->IsEnabledTree()) {
        system->Activate(previousActive, WA_ACTIVE);
    }
    return static_cast<int>(result);
}

}  // namespace qv
