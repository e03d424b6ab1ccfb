#include "gallery_page.h"

#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/static_text.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::gallery {

namespace {

void DrawOwnerDrawn(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const COLORREF line = disabled ? RGB(160, 160, 160) : RGB(0, 120, 60);
    UniqueBrush fill(CreateSolidBrush(selected ? RGB(255, 255, 255) : line));
    FillRect(dc, &item.rcItem, fill.get());
    DrawFrame(dc, item.rcItem, COLOR_3DDKSHADOW);
    const std::u16string text = GetWindowText(item.hwndItem);
    SelectionScope font(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? line : RGB(255, 255, 255));
    RECT area = item.rcItem;
    DrawTextW(dc, text, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) != 0) {
        DrawFocusFrame(dc, Shrunk(item.rcItem, 2, 2));
    }
}

LRESULT PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            DrawOwnerDrawn(*PointerFromParam<const DRAWITEMSTRUCT>(lParam));
            return 1;
        case WM_COMMAND:
            if (LOWORD(wParam) == kPreviousScreen || LOWORD(wParam) == kNextScreen) {
                PostMessageW(nullptr, kTurnScreen, LOWORD(wParam) == kNextScreen ? 1 : 0, 0);
            }
            return 0;
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterPageClass() {
    WNDCLASSW attributes;
    attributes.lpfnWndProc = PageProcedure;
    attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    attributes.lpszClassName = kPageClassName.data();
    return RegisterClassW(&attributes) != 0;
}

HWND AddControl(const Page& page, std::u16string_view className, std::u16string_view text,
                DWORD style, RECT rect, int id, HFONT font) {
    const HWND control =
        CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, page.window,
                        static_cast<UINT_PTR>(id), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : page.font), 0);
    return control;
}

}  // namespace qv::gallery
