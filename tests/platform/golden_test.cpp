#include <gtest/gtest.h>

#include <string>

#include "golden_picture.h"
#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/host/device_screen.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv {
namespace {

void DrawScene(HDC dc) {
    UniquePen line(CreatePen(PS_SOLID, 3, RGB(0, 128, 255)));
    UniquePen rim(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    UniquePen outline(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    UniqueBrush lineColour(CreateSolidBrush(RGB(0, 128, 255)));
    {
        SelectionScope pen(dc, line.get());
        const POINT course[] = {{20, 40}, {120, 40}, {200, 120}, {200, 200}};
        Polyline(dc, course, 4);
    }
    {
        SelectionScope pen(dc, rim.get());
        SelectionScope brush(dc, GetStockObject(WHITE_BRUSH));
        Ellipse(dc, 114, 34, 126, 46);
        Ellipse(dc, 120, 38, 132, 50);
    }
    {
        SelectionScope pen(dc, outline.get());
        SelectionScope brush(dc, lineColour.get());
        for (const POINT p : {POINT{20, 40}, POINT{200, 120}, POINT{200, 200}}) {
            Ellipse(dc, p.x - 4, p.y - 4, p.x + 4, p.y + 4);
        }
    }
    UniqueBitmap marker(LoadBitmapW(ProgramModule(), IDB_DESTINATION_MARKER));
    UniqueDC source(CreateCompatibleDC(dc));
    const HBITMAP previous = SelectObject(source.get(), marker.get());
    StretchBlt(dc, 195, 195, 10, 10, source.get(), 0, 0, 10, 10, SRCCOPY);
    SelectObject(source.get(), previous);

    LOGFONTW attributes{.lfHeight = -10};
    UniqueFont font(CreateFontIndirectW(&attributes));
    SelectionScope fontScope(dc, font.get());
    SetBkColor(dc, RGB(255, 255, 128));
    SetBkMode(dc, OPAQUE);
    RECT label{26, 48, 200, 62};
    DrawTextW(dc, u"Площадь Свободы", &label, DT_SINGLELINE);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 128, 255));
    RECT right{0, 210, 196, 226};
    DrawTextW(dc, u"Щукинская", &right, DT_RIGHT | DT_SINGLELINE);
}

TEST(GoldenPictures, SceneMatchesAtBothScales) {
    for (const int scale : {1, 2}) {
        DeviceScreen screen(scale);
        DrawScene(screen.Dc());
        testing::ExpectGoldenPicture(
            screen.Pixels(),
            std::string(QV_TEST_DATA_DIR) + "/gdi/scene-k" + std::to_string(scale) + ".png");
    }
}

}  // namespace
}  // namespace qv
