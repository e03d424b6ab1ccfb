#include "platform/controls/message_box.h"

#include <algorithm>
#include <string>

#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/system_icons.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/api/system_texts.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The box's geometry, in screen pixels.
constexpr int kBoxWidth = 220;
constexpr int kMargin = 8;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 22;
constexpr LONG kTextHeight = -11;

// The dialog manager makes the button; the box places it in pixels when the dialog starts.
constexpr DialogItemTemplate kItems[] = {
    {u"BUTTON", u"ok", IDOK, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, 0},
};

struct Layout {
    RECT window{};
    POINT icon{};
    RECT text{};
    RECT button{};
};

// What one box shows; it lives on the stack of MessageBoxW for as long as the box does.
constexpr std::u16string_view kBoxProperty = u"qv.messageBox";

struct BoxContent {
    std::u16string text;
    UINT iconType = 0;
    UniqueIcon icon;
    UniqueFont textFont;
    UniqueFont buttonFont;
    Layout layout;
};

const BoxContent* ContentOf(HWND box) {
    return reinterpret_cast<const BoxContent*>(GetWindowLongW(box, DWL_USER));
}

UniqueFont MakeFont(LONG weight) {
    LOGFONTW attributes;
    attributes.lfHeight = kTextHeight;
    attributes.lfWeight = weight;
    return UniqueFont(CreateFontIndirectW(&attributes));
}

// Icon and text side by side, the button centred below; the box grows with the text up to the
// height of the work area, and text that does not fit is cut. `insets` is the frame and caption
// around the client area.
Layout LayOut(const BoxContent& content, const RECT& insets) {
    Layout layout;
    const int clientWidth = kBoxWidth - insets.left - insets.right;
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
    // The shell's bars, outside the work area, stay uncovered.
    RECT work{0, 0, kScreenWidth, kScreenHeight};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int maxClientHeight = work.bottom - work.top - insets.top - insets.bottom;
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
    const int left = work.left + (work.right - work.left - kBoxWidth) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    layout.window = {left, top, left + kBoxWidth, top + height};
    return layout;
}

// The frame's size is the window system's to say: the box is given its width first and the
// difference to its client area read back.
void Place(HWND box, BoxContent& content) {
    constexpr int kTrialHeight = 200;
    MoveWindow(box, 0, 0, kBoxWidth, kTrialHeight, 0);
    RECT client;
    GetClientRect(box, &client);
    const RECT insets{0, kTrialHeight - client.bottom, kBoxWidth - client.right, 0};
    content.layout = LayOut(content, insets);
    const RECT& frame = content.layout.window;
    MoveWindow(box, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, 0);
    const HWND ok = GetDlgItem(box, IDOK);
    const RECT& button = content.layout.button;
    MoveWindow(ok, button.left, button.top, button.right - button.left, button.bottom - button.top,
               0);
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(content.buttonFont.get()), 0);
}

void Paint(HWND box) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(box, &paint);
    if (const BoxContent* content = ContentOf(box)) {
        if (content->icon) {
            DrawIconEx(dc, content->layout.icon.x, content->layout.icon.y, content->icon.get(), 0,
                       0, 0, nullptr, DI_NORMAL);
        }
        SelectionScope font(dc, content->textFont.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT text = content->layout.text;
        DrawTextW(dc, content->text, &text, DT_LEFT | DT_WORDBREAK);
    }
    EndPaint(box, &paint);
}

INT_PTR BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* content = PointerFromParam<BoxContent>(lParam);
            SetWindowLongW(box, DWL_USER, reinterpret_cast<LONG_PTR>(content));
            SetPropW(box, kBoxProperty, 1);
            Place(box, *content);
            return 1;
        }
        case WM_PAINT:
            Paint(box);
            return 1;
        case WM_COMMAND:
            // Enter, a tap on "ok", Escape and closing all come here, and all answer ok.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(box, IDOK);
            }
            return 1;
        default:
            return 0;
    }
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

std::optional<MessageBoxContent> DescribeMessageBox(HWND window) {
    const BoxContent* content =
        IsWindow(window) && GetPropW(window, kBoxProperty) != 0 ? ContentOf(window) : nullptr;
    if (!content) {
        return std::nullopt;
    }
    return MessageBoxContent{content->text, content->iconType};
}

int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
    if (!WindowSystem::Current() || (type & MB_TYPEMASK) != MB_OK || !RegisterButtonClass()) {
        return 0;
    }
    if (!IsWindow(owner)) {
        owner = nullptr;
    }
    BoxContent content;
    content.text = text;
    content.iconType = type & MB_ICONMASK;
    if (const int icon = IconOf(type)) {
        content.icon.reset(LoadIconW(SystemModule(), icon));
    }
    content.textFont = MakeFont(FW_NORMAL);
    content.buttonFont = MakeFont(FW_BOLD);
    DialogTemplate box;
    box.style = WS_POPUP | WS_CAPTION;
    box.exStyle = (type & MB_TOPMOST) != 0 ? WS_EX_TOPMOST : 0;
    box.caption = caption.empty() ? SystemText(SystemTextId::ErrorCaption) : caption;
    box.items = kItems;
    const INT_PTR result =
        DialogBoxIndirectParamW(nullptr, &box, owner, BoxProcedure, PointerParam(&content));
    // Once shown, a box has only one answer, whichever way it went.
    return result == -1 ? 0 : IDOK;
}

}  // namespace qv
