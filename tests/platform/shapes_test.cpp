#include "platform/gdi/shapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "platform/gdi/segment_clip.h"
#include "platform/gdi/system_metrics.h"
#include "surface_fixture.h"

namespace qv {
namespace {

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

// Small shapes drawn with a one-pixel black pen and a red brush unless the case selects others.
struct SmallPicture {
    const char* name;
    int width;
    int height;
    std::function<void(HDC)> draw;
    const char* expected;
};

TEST(ClipSegment, KeepsThePartInsideTheBoxEdgesIncluded) {
    // Every case is in the box from (0, 0) to (10, 10); the fractions are exact in binary.
    struct Case {
        const char* name;
        double x, y, dx, dy;
        bool hits;
        double enter, leave;
    };
    const Case cases[] = {
        {"inside", 2, 2, 4, 4, true, 0, 1},
        {"across", -10, 5, 40, 0, true, 0.25, 0.5},
        {"backwards across", 30, 5, -40, 0, true, 0.5, 0.75},
        {"in and out at a corner", -5, -5, 20, 20, true, 0.25, 0.75},
        {"touching an edge", 10, -5, 0, 20, true, 0.25, 0.75},
        {"touching a corner only", 5, 15, 10, -10, true, 0.5, 0.5},
        {"leaving at once from an edge", 10, 5, 5, -5, true, 0, 0},
        {"parallel outside", -5, 11, 20, 0, false, 0, 0},
        {"short of the box", -8, 5, 4, 0, false, 0, 0},
        {"missing a corner", 8, 16, 8, -8, false, 0, 0},
        {"a point inside", 3, 3, 0, 0, true, 0, 1},
        {"a point outside", 11, 3, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<SegmentSpan> span = ClipSegment(c.x, c.y, c.dx, c.dy, {0, 0, 10, 10});
        ASSERT_EQ(span.has_value(), c.hits) << c.name;
        if (span) {
            EXPECT_EQ(span->enter, c.enter) << c.name;
            EXPECT_EQ(span->leave, c.leave) << c.name;
        }
    }
}

TEST(Shapes, SmallPicturesHoldExactlyTheirPixels) {
    const SmallPicture pictures[] = {
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
    for (const SmallPicture& picture : pictures) {
        Surface surface(picture.width, picture.height);
        Tools tools(surface.Dc(), 1, kBlack, kRed);
        picture.draw(surface.Dc());
        EXPECT_EQ(surface.Picture(), picture.expected) << picture.name;
    }
}

TEST(Shapes, WidePensAreCentredOnTheOutlineAndFlatBoxesKeepTheirMiddleRow) {
    Surface surface(40, 40);
    Tools tools(surface.Dc(), 5, kBlack, kRed);
    Rectangle(surface.Dc(), 10, 10, 30, 30);
    // The one-pixel outline would be columns 10 and 29; five pixels centred on them.
    EXPECT_EQ(surface.Row(20), "........#####rrrrrrrrrrrrrr#####........");
    Surface flat(30, 4);
    Tools thin(flat.Dc(), 1, kBlack, kRed);
    Ellipse(flat.Dc(), 2, 1, 28, 3);
    EXPECT_EQ(flat.At(2, 1), kBlack);
    EXPECT_EQ(flat.At(27, 2), kBlack);
    EXPECT_EQ(flat.At(28, 2), kWhite);
}

TEST(Ellipse, SmallDiscsAreRoundSymmetricAndInsideTheirBox) {
    for (int radius = 3; radius <= 6; ++radius) {
        for (const int pen : {0, 1, 2}) {
            Surface surface(40, 40);
            Tools tools(surface.Dc(), pen, kBlack, kRed);
            const int cx = 20;
            const int cy = 17;
            Ellipse(surface.Dc(), cx - radius, cy - radius, cx + radius, cy + radius);
            for (int y = cy - radius - 3; y < cy + radius + 3; ++y) {
                for (int x = cx - radius - 3; x < cx + radius + 3; ++x) {
                    const COLORREF c = surface.At(x, y);
                    // Mirror images across both centre lines, and across the diagonal.
                    ASSERT_EQ(c, surface.At(2 * cx - 1 - x, y)) << radius << " " << x << "," << y;
                    ASSERT_EQ(c, surface.At(x, 2 * cy - 1 - y)) << radius << " " << x << "," << y;
                    ASSERT_EQ(c, surface.At(cx + (y - cy), cy + (x - cx)))
                        << radius << " " << x << "," << y;
                    if (pen <= 1) {
                        const bool inBox = x >= cx - radius && x < cx + radius &&
                                           y >= cy - radius && y < cy + radius;
                        ASSERT_TRUE(inBox || c == kWhite) << radius << " " << x << "," << y;
                    }
                }
            }
            // The middle row spans the whole box; the corners stay clear.
            EXPECT_NE(surface.At(cx - radius, cy), kWhite);
            EXPECT_NE(surface.At(cx + radius - 1, cy), kWhite);
            if (pen <= 1) {
                EXPECT_EQ(surface.At(cx - radius, cy - radius), kWhite);
            }
        }
    }
}

// The smallest box holding every pixel of `ink` in device rows [top, bottom), and whether the box
// is wholly inked.
struct InkBox {
    RECT box{1 << 20, 1 << 20, -1, -1};
    bool solid = false;
};
InkBox InkIn(const Surface& surface, int top, int bottom, COLORREF ink) {
    InkBox found;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < surface.Pixels().DeviceWidth(); ++x) {
            if (surface.At(x, y) == ink) {
                found.box = {std::min<LONG>(found.box.left, x), std::min<LONG>(found.box.top, y),
                             std::max<LONG>(found.box.right, x + 1),
                             std::max<LONG>(found.box.bottom, y + 1)};
                ++count;
            }
        }
    }
    found.solid = count == (found.box.right - found.box.left) * (found.box.bottom - found.box.top);
    return found;
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
            const InkBox a = InkIn(surface, 0, 7 * k, kRed);
            const InkBox u = InkIn(surface, 7 * k, 16 * k, kRed);
            const std::string where = "k " + std::to_string(k) + " width " + std::to_string(width);
            EXPECT_TRUE(a.solid && u.solid) << where;
            EXPECT_EQ(a.box.left, 4 * k) << where;
            EXPECT_EQ(a.box.right, 10 * k) << where;
            EXPECT_EQ(a.box.bottom - a.box.top, width * k) << where;
            EXPECT_EQ(u.box.top, 8 * k) << where;  // from row 13 up to row 7, row 7 left out
            EXPECT_EQ(u.box.bottom, 14 * k) << where;
            EXPECT_EQ(u.box.right - u.box.left, width * k) << where;
        }
    }
}

TEST(DeviceScale, TwoDoublesEveryExtentButNotTheLogicalCoordinates) {
    Surface single(20, 20, 1);
    Surface twice(20, 20, 2);
    for (const Surface* surface : {&single, &twice}) {
        Tools tools(surface->Dc(), 1, kBlack, kRed);
        Ellipse(surface->Dc(), 4, 4, 12, 12);
        Rectangle(surface->Dc(), 14, 2, 18, 6);
    }
    EXPECT_EQ(twice.Pixels().DeviceWidth(), 40);
    // The rectangle's outline: one logical pixel, two device pixels.
    EXPECT_EQ(twice.Row(6).substr(28, 9), "##rrrr##.");
    // The disc spans device columns 8..23 on its middle row, as its box 4..12 doubled.
    EXPECT_EQ(twice.At(7, 16), kWhite);
    EXPECT_NE(twice.At(8, 16), kWhite);
    EXPECT_NE(twice.At(23, 16), kWhite);
    EXPECT_EQ(twice.At(24, 16), kWhite);
    // The rectangle is the scale-1 one with every pixel doubled.
    for (int y = 0; y < 8; ++y) {
        for (int x = 12; x < 20; ++x) {
            for (int d = 0; d < 4; ++d) {
                EXPECT_EQ(single.At(x, y), twice.At(2 * x + d % 2, 2 * y + d / 2)) << x << "," << y;
            }
        }
    }
}

// Whether two surfaces of one size hold the same device pixels; the first difference otherwise.
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

// The polyline as one Cairo stroke, set up as the platform sets up a round-ended wide pen.
void OneStroke(const Surface& surface, const std::vector<POINT>& points, int width,
               COLORREF colour = kRed) {
    cairo_t* context = cairo_create(surface.Pixels().Surface());
    cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgb(context, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                         GetBValue(colour) / 255.0);
    cairo_set_line_width(context, width);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_ROUND);
    for (const POINT p : points) {
        cairo_line_to(context, p.x + 0.5, p.y + 0.5);
    }
    cairo_stroke(context);
    cairo_destroy(context);
}

double DistanceToPath(double x, double y, const std::vector<POINT>& points) {
    double nearest = 1e18;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double ax = points[i].x + 0.5;
        const double ay = points[i].y + 0.5;
        const double dx = points[i + 1].x - points[i].x;
        const double dy = points[i + 1].y - points[i].y;
        const double length = dx * dx + dy * dy;
        const double t =
            length > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length, 0.0, 1.0) : 0;
        nearest = std::min(nearest, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return nearest;
}

TEST(Polyline, LongLinesDrawnInPiecesMatchOneStrokeWhereItKeepsToThePen) {
    // A spiral of 600 points (three pieces) that never folds over itself: the same pixels.
    std::vector<POINT> spiral;
    for (int i = 0; i < 600; ++i) {
        const double t = i * 0.05;
        spiral.push_back({static_cast<LONG>(std::lround(105 + (5 + 3 * t) * std::cos(t))),
                          static_cast<LONG>(std::lround(105 + (5 + 3 * t) * std::sin(t)))});
    }
    for (const int width : {2, 7, 15}) {
        Surface pieces(210, 210);
        Surface whole(210, 210);
        Tools tools(pieces.Dc(), width, kRed, kWhite);
        Polyline(pieces.Dc(), spiral.data(), static_cast<int>(spiral.size()));
        OneStroke(whole, spiral, width);
        EXPECT_TRUE(SamePixels(pieces, whole)) << "spiral, width " << width;
    }
    // A random walk folding over itself many times, partly off the surface: one stroke fills a
    // few pixels beyond the pen's reach where the path folds; the pieces draw every pixel
    // within it and none that one stroke leaves.
    std::mt19937 random(5);
    std::vector<POINT> walk{{60, 60}};
    for (int i = 0; i < 2000; ++i) {
        walk.push_back(
            {static_cast<LONG>(std::clamp<int>(walk.back().x + random() % 21 - 10, -20, 140)),
             static_cast<LONG>(std::clamp<int>(walk.back().y + random() % 21 - 10, -20, 140))});
    }
    for (const int width : {2, 7}) {
        Surface pieces(120, 120);
        Surface whole(120, 120);
        Tools tools(pieces.Dc(), width, kRed, kWhite);
        Polyline(pieces.Dc(), walk.data(), static_cast<int>(walk.size()));
        OneStroke(whole, walk, width);
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 120; ++x) {
                if (pieces.At(x, y) == whole.At(x, y)) {
                    continue;
                }
                EXPECT_EQ(pieces.At(x, y), kWhite) << x << "," << y << " width " << width;
                EXPECT_GE(DistanceToPath(x + 0.5, y + 0.5, walk), width / 2.0 - 1e-9)
                    << x << "," << y << " width " << width;
            }
        }
    }
    // A zigzag whose pen covers the surface after a few segments.
    std::vector<POINT> zigzag;
    for (int i = 0; i < 600; ++i) {
        zigzag.push_back({i % 2 == 0 ? 0 : 119, i / 5});
    }
    Surface pieces(120, 120);
    Surface whole(120, 120);
    Tools tools(pieces.Dc(), 400, kRed, kWhite);
    Polyline(pieces.Dc(), zigzag.data(), static_cast<int>(zigzag.size()));
    OneStroke(whole, zigzag, 400);
    EXPECT_TRUE(SamePixels(pieces, whole));
}

TEST(FarCoordinates, CostNoMoreThanTheSurfaceAndWideLinesAreDrawnWhereTheyCrossIt) {
    // Shapes and lines reaching far beyond the surface are drawn as much as shows, at once.
    Surface surface(10, 10);
    Tools tools(surface.Dc(), 1, kBlack, kRed);
    const int far = 2000000000;
    const POINT line[] = {{-far, 5}, {far, 5}, {far, -far}};
    Polyline(surface.Dc(), line, 3);
    EXPECT_EQ(surface.At(0, 5), kBlack);
    EXPECT_EQ(surface.At(9, 5), kBlack);
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
        // Overlapping discs of a few sizes, some off the surface, some repeated, pens of
        // every split, and now and then one larger than the surface.
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
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
    EXPECT_EQ(DeleteObject(pen), 0);
    EXPECT_EQ(SelectObject(surface.Dc(), previous), pen);
    EXPECT_EQ(DeleteObject(pen), 1);
    EXPECT_EQ(DeleteObject(GetStockObject(WHITE_BRUSH)), 1);
    EXPECT_EQ(static_cast<Brush*>(GetStockObject(WHITE_BRUSH))->colour, kWhite);

    UniqueDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc->brush, GetStockObject(WHITE_BRUSH));
    SelectionScope black(dc.get(), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(Rectangle(dc.get(), 0, 0, 5, 5), 1);  // harmless: the default bitmap takes nothing
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), kWhite);
}

TEST(SystemMetrics, ScreenAndClassicColours) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), kWhite);
}

}  // namespace
}  // namespace qv
