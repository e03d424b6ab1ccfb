#include "platform/controls/control_paint.h"

#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"

namespace qv {

namespace {

void Line(HDC dc, LONG left, LONG top, LONG right, LONG bottom, int systemColour) {
    const RECT rect{left, top, right, bottom};
    FillRect(dc, &rect, GetSysColorBrush(systemColour));
}

// One-pixel edges: `topLeft` along the top and left, `bottomRight` along the other two.
void Edges(HDC dc, const RECT& r, int topLeft, int bottomRight) {
    Line(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    Line(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    Line(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    Line(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

}  // namespace

void FillWithColour(HDC dc, const RECT& rect, int systemColour) {
    FillRect(dc, &rect, GetSysColorBrush(systemColour));
}

RECT DrawBevel(HDC dc, const RECT& rect, Bevel bevel) {
    switch (bevel) {
        case Bevel::Raised:
            Edges(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
            Edges(dc, Shrunk(rect, 1, 1), COLOR_3DLIGHT, COLOR_BTNSHADOW);
            break;
        case Bevel::Sunken:
            Edges(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            Edges(dc, Shrunk(rect, 1, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
            break;
        case Bevel::Pushed:
            // A pushed button lies flat: a dark frame with the shadow inside it.
            Edges(dc, rect, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW);
            Edges(dc, Shrunk(rect, 1, 1), COLOR_BTNSHADOW, COLOR_BTNFACE);
            break;
    }
    return Shrunk(rect, 2, 2);
}

RECT DrawFrame(HDC dc, const RECT& rect, int systemColour) {
    Edges(dc, rect, systemColour, systemColour);
    return Shrunk(rect, 1, 1);
}

void DrawFocusFrame(HDC dc, const RECT& rect) {
    const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    for (LONG x = rect.left; x < rect.right; x += 2) {
        SetPixel(dc, x, rect.top, colour);
        SetPixel(dc, x, rect.bottom - 1, colour);
    }
    for (LONG y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(dc, rect.left, y, colour);
        SetPixel(dc, rect.right - 1, y, colour);
    }
}

void DrawCheckMark(HDC dc, const RECT& box, int systemColour) {
    // Three pixels thick, falling to the lowest point a third of the way across, then rising.
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    const LONG low = box.left + width / 3;
    const LONG bottom = box.top + height * 3 / 4;
    for (LONG x = box.left + 1; x < box.right - 1; ++x) {
        const LONG y = x <= low ? bottom - (low - x) : bottom - (x - low);
        if (y - 2 >= box.top) {
            Line(dc, x, y - 2, x + 1, y + 1, systemColour);
        }
    }
}

HFONT ControlFont(HFONT given) {
    return given ? given : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

SIZE MeasureText(HDC dc, std::u16string_view text) {
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text, &rect, DT_SINGLELINE | DT_CALCRECT);
    return {rect.right, rect.bottom};
}

HBRUSH ParentBackground(HWND control, HDC dc, UINT colourMessage) {
    const LRESULT answer = SendMessageW(GetParent(control), colourMessage,
                                        reinterpret_cast<WPARAM>(dc), PointerParam(control));
    return answer ? reinterpret_cast<HBRUSH>(answer) : GetSysColorBrush(COLOR_WINDOW);
}

RECT Shrunk(const RECT& rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

}  // namespace qv
