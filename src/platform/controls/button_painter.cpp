#include "platform/controls/button_painter.h"

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/paint_functions.h"

namespace qv {

namespace {

constexpr int kMarkSize = 13;
constexpr int kMarkGap = 4;

void PaintLabel(HDC dc, RECT area, const ButtonLook& look, UINT format) {
    SelectionScope font(dc, ControlFont(look.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(look.disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, look.text, &area, format | DT_SINGLELINE | DT_VCENTER);
}

// The text's own rectangle inside the area, for the focus frame around it.
RECT LabelBounds(HDC dc, const RECT& area, const ButtonLook& look, bool centred) {
    SelectionScope font(dc, ControlFont(look.font));
    const SIZE size = MeasureText(dc, look.text);
    const LONG width = std::min<LONG>(size.cx, area.right - area.left);
    const LONG height = std::min<LONG>(size.cy, area.bottom - area.top);
    const LONG left = centred ? area.left + (area.right - area.left - width) / 2 : area.left;
    const LONG top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
}

void PaintPush(HDC dc, const RECT& client, const ButtonLook& look) {
    RECT inside = client;
    // The default button, and the focused one, carry a black frame around the bevel.
    if (look.kind == ButtonLook::Kind::DefaultPush || look.focused) {
        inside = DrawFrame(dc, inside, COLOR_3DDKSHADOW);
    }
    inside = DrawBevel(dc, inside, look.pressed ? Bevel::Pushed : Bevel::Raised);
    FillWithColour(dc, inside, COLOR_BTNFACE);
    const RECT label = look.pressed ? rect::Offset(inside, 1, 1) : inside;
    PaintLabel(dc, label, look, DT_CENTER);
    if (look.focused) {
        DrawFocusFrame(dc, Shrunk(inside, 1, 1));
    }
}

void PaintMark(HDC dc, const RECT& box, const ButtonLook& look) {
    const int face = look.pressed || look.disabled ? COLOR_BTNFACE : COLOR_WINDOW;
    const int ink = look.disabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
    if (look.kind == ButtonLook::Kind::CheckBox) {
        const RECT inside = DrawBevel(dc, box, Bevel::Sunken);
        FillWithColour(dc, inside, face);
        if (look.checked) {
            DrawCheckMark(dc, Shrunk(inside, 1, 1), ink);
        }
        return;
    }
    // A round mark: the sunken ring as two half circles, then the face and the dot.
    UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    UniqueBrush faceBrush(CreateSolidBrush(GetSysColor(face)));
    {
        SelectionScope pen(dc, shadow.get());
        SelectionScope brush(dc, faceBrush.get());
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
    }
    UniquePen dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
    {
        SelectionScope pen(dc, dark.get());
        SelectionScope brush(dc, faceBrush.get());
        Ellipse(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    }
    if (look.checked) {
        UniqueBrush dot(CreateSolidBrush(GetSysColor(ink)));
        UniquePen rim(CreatePen(PS_SOLID, 1, GetSysColor(ink)));
        SelectionScope pen(dc, rim.get());
        SelectionScope brush(dc, dot.get());
        Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
    }
}

void PaintMarked(HDC dc, const RECT& client, const ButtonLook& look) {
    FillRect(dc, &client, look.background ? look.background : GetSysColorBrush(COLOR_WINDOW));
    const LONG size = std::min<LONG>(kMarkSize, client.bottom - client.top);
    const LONG top = client.top + (client.bottom - client.top - size) / 2;
    const RECT box{client.left, top, client.left + size, top + size};
    PaintMark(dc, box, look);
    const RECT label{box.right + kMarkGap, client.top, client.right, client.bottom};
    PaintLabel(dc, label, look, DT_LEFT);
    if (look.focused) {
        DrawFocusFrame(dc, Shrunk(LabelBounds(dc, label, look, false), -1, -1));
    }
}

}  // namespace

void PaintButton(HDC dc, const RECT& client, const ButtonLook& look) {
    switch (look.kind) {
        case ButtonLook::Kind::Push:
        case ButtonLook::Kind::DefaultPush:
            PaintPush(dc, client, look);
            break;
        case ButtonLook::Kind::CheckBox:
        case ButtonLook::Kind::Radio:
            PaintMarked(dc, client, look);
            break;
    }
}

}  // namespace qv
