#include "platform/gdi/shapes.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "surface_fixture.h"

namespace qv {
namespace {

using testing::InkIn;
using testing::Surface;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Tools {
    Tools(HDC dc, int penWidth, COLORREF penColour, COLORREF brushColour)
        : pen(CreatePen(PS_SOLID, penWidth, penColour)),
          brush(CreateSolidBrush(brushColour)),
          penScope(dc, pen.get()),
          brushScope(dc, brush.get()) {}
    UniquePen pen;
    UniqueBrush brush;
    SelectionScope penScope;
    SelectionScope brushScope;
};

TEST(Shapes, SmallPicturesHoldExactlyTheirPixels) {
    // What is drawn, on a surface of that width and height, and the pixels it should leave.
    const std::tuple<const char*, int, int, std::function<void(HDC)>, const char*> pictures[] = {
        {"a thin outline leaves out the right and bottom edges", 8, 6,
         [](HDC dc) { Rectangle(dc, 1, 1, 6, 5); },
         "........\n.#####..\n.#rrr#..\n.#rrr#..\n.#####..\n........\n"},
        {"no pen: the brush fills the whole box", 6, 6,
         [](HDC dc) {
             SelectionScope pen(dc, GetStockObject(NULL_PEN));
             Rectangle(dc, 1, 1, 4, 4);
         },
         "......\n.rrr..\n.rrr..\n.rrr..\n......\n......\n"},
        {"no brush: the inside is left", 6, 6,
         [](HDC dc) {
             SelectionScope brush(dc, GetStockObject(NULL_BRUSH));
             Rectangle(dc, 1, 1, 5, 5);
         },
         "......\n.####.\n.#..#.\n.#..#.\n.####.\n......\n"},
        {"a disc of radius four", 8, 8, [](HDC dc) { Ellipse(dc, 0, 0, 8, 8); },
         "..####..\n.#rrrr#.\n#rrrrrr#\n#rrrrrr#\n#rrrrrr#\n#rrrrrr#\n.#rrrr#.\n..####..\n"},
        {"a thin polyline leaves out its last point", 8, 4,
         [](HDC dc) {
             const POINT points[] = {{1, 1}, {5, 1}, {5, 3}};
             Polyline(dc, points, 3);
         },
         "........\n.#####..\n.....#..\n........\n"},
        {"one point is no line", 4, 4,
         [](HDC dc) {
             const POINT point{1, 1};
             EXPECT_EQ(Polyline(dc, &point, 1), 0);
         },
         "....\n....\n....\n....\n"},
    };
    for (const auto& [name, width, height, draw, expected] : pictures) {
        Surface surface(width, height);
        Tools tools(surface.Dc(), 1, kBlack, kRed);
        draw(surface.Dc());
        EXPECT_EQ(surface.Picture(), expected) << name;
    }
}

TEST(Shapes, WidePensAreCentredOnTheOutline) {
    Surface surface(40, 40);
    Tools tools(surface.Dc(), 5, kBlack, kRed);
    Rectangle(surface.Dc(), 10, 10, 30, 30);
    // The one-pixel outline would be columns 10 and 29; five pixels centred on them.
    EXPECT_EQ(surface.Row(20), "........#####rrrrrrrrrrrrrr#####........");
}

TEST(Polyline, FlatEndedPenCoversItsFirstPointNotItsLastAtEveryWidthAndScale) {
    for (const int k : {1, 2}) {
        for (int width = 1; width <= 5; ++width) {
            Surface surface(16, 16, k);
            UniquePen pen(CreatePen(PS_SOLID | PS_ENDCAP_FLAT, width, kRed));
            SelectionScope scope(surface.Dc(), pen.get());
            const POINT across[] = {{4, 4}, {10, 4}};
            const POINT up[] = {{12, 13}, {12, 7}};
            Polyline(surface.Dc(), across, 2);
            Polyline(surface.Dc(), up, 2);
            const auto red = [](COLORREF c) { return c == kRed; };
            const testing::InkBox a = InkIn(surface, red, 0, 7 * k);
            const testing::InkBox u = InkIn(surface, red, 7 * k, 16 * k);
            // Across from column 4 to 10; up from row 13 to row 7, row 7 left out.
            EXPECT_EQ(
                std::tuple(a.solid && u.solid, a.box.left, a.box.right, a.box.bottom - a.box.top,
                           u.box.top, u.box.bottom, u.box.right - u.box.left),
                std::tuple(true, 4 * k, 10 * k, width * k, 8 * k, 14 * k, width * k))
                << "k " << k << " width " << width;
        }
    }
}

::testing::AssertionResult SamePixels(const Surface& a, const Surface& b) {
    for (int y = 0; y < a.Pixels().DeviceHeight(); ++y) {
        for (int x = 0; x < a.Pixels().DeviceWidth(); ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                return ::testing::AssertionFailure() << "first difference at " << x << "," << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(FarCoordinates, CostNoMoreThanTheSurfaceAndWideLinesAreDrawnWhereTheyCrossIt) {
    // Shapes and lines reaching far beyond the surface are drawn as much as shows, at once.
    Surface surface(10, 10);
    Tools tools(surface.Dc(), 1, kBlack, kRed);
    const int far = 2000000000;
    const POINT line[] = {{-far, 5}, {far, 5}, {far, -far}};
    Polyline(surface.Dc(), line, 3);
    EXPECT_EQ(std::pair(surface.At(0, 5), surface.At(9, 5)), std::pair(kBlack, kBlack));
    Ellipse(surface.Dc(), -far, -far, far, far);
    EXPECT_EQ(surface.At(5, 0), kRed);
    UniquePen huge(CreatePen(PS_SOLID, far, kBlack));
    SelectionScope pen(surface.Dc(), huge.get());
    Rectangle(surface.Dc(), 2, 2, 4, 4);
    EXPECT_EQ(surface.At(9, 9), kBlack);

    // Far points overflow the stroker's fixed-point coordinates unless cut near the surface.
    for (const int scale : {1, 2}) {
        Surface distant(40, 30, scale);
        Surface close(40, 30, scale);
        const std::vector<POINT> across = {
            {-50'000'000, 10}, {50'000'000, 10}, {50'000'000, 20}, {-50'000'000, 20}};
        const std::vector<POINT> cut = {{-100, 10}, {140, 10}, {140, 20}, {-100, 20}};
        Tools distantTools(distant.Dc(), 5, kRed, kWhite);
        Tools closeTools(close.Dc(), 5, kRed, kWhite);
        Polyline(distant.Dc(), across.data(), 4);
        Polyline(close.Dc(), cut.data(), 4);
        EXPECT_EQ(distant.At(20 * scale, 10 * scale), kRed);
        EXPECT_TRUE(SamePixels(distant, close)) << scale;
    }
}

TEST(Ellipses, MatchDrawingEachInTurnUnderAClipAtEveryScale) {
    std::mt19937 random(9);
    std::vector<EllipseStep> steps;
    for (int i = 0; i < 300; ++i) {
        // Discs of a few sizes, some off the surface, some repeated, some larger than it.
        const int radius = i % 50 == 0 ? 200 : static_cast<int>(random() % 4) * 3 + 1;
        const int x = static_cast<int>(random() % 90) - 15;
        const int y = static_cast<int>(random() % 70) - 15;
        steps.push_back({{x - radius, y - radius, x + radius, y + radius},
                         static_cast<int>(random() % 4),
                         RGB(random() % 4 * 60, 0, 0),
                         RGB(0, random() % 4 * 60, 0)});
        if (i % 7 == 0) {
            steps.push_back(steps[random() % steps.size()]);
        }
    }
    steps.push_back({{30, 20, 20, 10}, 2, kBlack, kRed});  // corners in the other order
    // A clip of one rectangle, then one with a hole, whose pixels the batch must leave alone.
    for (const auto& [scale, hole] :
         {std::pair{1, false}, std::pair{2, false}, std::pair{1, true}}) {
        Surface batch(60, 40, scale);
        Surface each(60, 40, scale);
        for (const Surface* surface : {&batch, &each}) {
            IntersectClipRect(surface->Dc(), 3, 2, 55, 38);
            if (hole) {
                ExcludeClipRect(surface->Dc(), 20, 10, 40, 30);
            }
        }
        EXPECT_EQ(Ellipses(batch.Dc(), steps), 1);
        for (const EllipseStep& step : steps) {
            Tools tools(each.Dc(), step.penWidth, step.pen, step.brush);
            Ellipse(each.Dc(), step.box.left, step.box.top, step.box.right, step.box.bottom);
        }
        EXPECT_TRUE(SamePixels(batch, each)) << scale << hole;
    }
}

TEST(Objects, SelectedObjectsAreNotDeletedStockObjectsStayAndNoBitmapTakesNothing) {
    Surface surface(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    const HPEN previous = SelectObject(surface.Dc(), pen);
    EXPECT_EQ(DeleteObject(pen), 0);
    EXPECT_EQ(SelectObject(surface.Dc(), previous), pen);
    EXPECT_EQ(DeleteObject(pen), 1);
    EXPECT_EQ(DeleteObject(GetStockObject(WHITE_BRUSH)), 1);
    EXPECT_EQ(static_cast<Brush*>(GetStockObject(WHITE_BRUSH))->colour, kWhite);
    UniqueDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(Rectangle(dc.get(), 0, 0, 5, 5), 1);  // harmless: the default bitmap takes nothing
}

}  // namespace
}  // namespace qv
