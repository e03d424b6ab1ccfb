#include "platform/controls/static_text.h"

#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

UINT TextFormat(DWORD style) {
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            return DT_CENTER | DT_WORDBREAK;
        case SS_RIGHT:
            return DT_RIGHT | DT_WORDBREAK;
        default:
            return DT_LEFT | DT_WORDBREAK;
    }
}

}  // namespace

StaticText::StaticText(HWND window, const CREATESTRUCTW&) : ControlState(window) {}

std::optional<LRESULT> StaticText::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND self = Window();
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(self, message, wParam, lParam);
            InvalidateRect(self, nullptr, 0);
            return result;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            return DefWindowProcW(self, message, wParam, lParam);
        case WM_ENABLE:
            InvalidateRect(self, nullptr, 0);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_NCHITTEST:
            // Taps go through plain text to the window beneath it.
            if ((GetWindowLongW(self, GWL_STYLE) & SS_NOTIFY) == 0) {
                return HTTRANSPARENT;
            }
            return DefWindowProcW(self, message, wParam, lParam);
        default:
            return DefWindowProcW(self, message, wParam, lParam);
    }
}

void StaticText::Paint() {
    const HWND self = Window();
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(self, &paint);
    RECT client;
    GetClientRect(self, &client);
    FillRect(dc, &client, ParentBackground(self, dc, WM_CTLCOLORSTATIC));
    {
        const std::u16string text = GetWindowText(self);
        SelectionScope font(dc, ControlFont(font_));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(self) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, text, &client,
                  TextFormat(static_cast<DWORD>(GetWindowLongW(self, GWL_STYLE))));
    }
    EndPaint(self, &paint);
}

bool RegisterStaticClass() {
    return RegisterControlClass<StaticText>(kStaticClassName) != 0;
}

}  // namespace qv
