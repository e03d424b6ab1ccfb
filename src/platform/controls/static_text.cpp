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

std::optional<LRESULT> StaticText::OnMessage(UINT message, WPARAM, LPARAM) {
    // Taps go through plain text to the window beneath it.
    if (message == WM_NCHITTEST && (GetWindowLongW(Window(), GWL_STYLE) & SS_NOTIFY) == 0) {
        return HTTRANSPARENT;
    }
    return std::nullopt;
}

void StaticText::OnPaint(const PaintEvent& paint) {
    const HWND self = Window();
    RECT client = paint.client;
    FillRect(paint.dc, &client, ParentBackground(self, paint.dc, WM_CTLCOLORSTATIC));
    const std::u16string text = GetWindowText(self);
    SelectionScope font(paint.dc, TextFont());
    SetBkMode(paint.dc, TRANSPARENT);
    SetTextColor(paint.dc, GetSysColor(IsWindowEnabled(self) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawTextW(paint.dc, text, &client,
              TextFormat(static_cast<DWORD>(GetWindowLongW(self, GWL_STYLE))));
}

bool RegisterStaticClass() {
    return RegisterControlClass<StaticText>(kStaticClassName) != 0;
}

}  // namespace qv
