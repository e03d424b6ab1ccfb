#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "platform/gdi/draw_text.h"
#include "platform/gdi/font_renderer.h"
#include "platform/gdi/shapes.h"
#include "surface_fixture.h"

namespace qv {
namespace {

using testing::Surface;

constexpr COLORREF kWhite = RGB(255, 255, 255);

UniqueFont MakeFont(LONG height, LONG weight = FW_NORMAL, std::u16string_view face = u"",
                    BYTE quality = DEFAULT_QUALITY) {
    LOGFONTW attributes{.lfHeight = height, .lfWeight = weight, .lfQuality = quality};
    face.copy(attributes.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&attributes));
}

TEXTMETRICW MetricsOf(HDC dc) {
    TEXTMETRICW metrics;
    EXPECT_EQ(GetTextMetricsW(dc, &metrics), 1);
    return metrics;
}

RECT InkOf(const Surface& surface) {
    return testing::InkIn(surface, [](COLORREF c) { return c != kWhite; }).box;
}

TEST(TextMetrics, HeightsBeyondTheScreenAreHeldAtTheTallestAndSemiBoldIsBold) {
    Surface surface(10, 10);
    const LONG tallestCell = [&] {
        UniqueFont tallest = MakeFont(-kMaxCharacterHeight);
        SelectionScope scope(surface.Dc(), tallest.get());
        return MetricsOf(surface.Dc()).tmHeight;
    }();
    EXPECT_GT(tallestCell, kMaxCharacterHeight);
    for (const LONG height :
         {LONG{-83'000'000}, LONG{-2'147'483'647} - 1, LONG{83'000'000}, LONG{2'147'483'647}}) {
        UniqueFont huge = MakeFont(height);
        SelectionScope scope(surface.Dc(), huge.get());
        EXPECT_EQ(MetricsOf(surface.Dc()).tmHeight, tallestCell) << height;
        RECT rect{0, 0, 10, 10};
        EXPECT_GT(DrawTextW(surface.Dc(), u"Ж", &rect, DT_LEFT), 0);
    }
    for (const auto& [weight, face] : {std::pair{599, FW_NORMAL}, {600, FW_BOLD}, {900, FW_BOLD}}) {
        UniqueFont font = MakeFont(-10, weight);
        SelectionScope scope(surface.Dc(), font.get());
        EXPECT_EQ(MetricsOf(surface.Dc()).tmWeight, face) << weight;
    }
    const HFONT kept = MakeFont(-12).release();
    SelectObject(Surface(4, 4).Dc(), kept);  // a surface gone lets go of its font
    LOGFONTW read[2]{};
    EXPECT_EQ(GetObjectW(kept, sizeof read, read), int{sizeof(LOGFONTW)});  // a font's, no more
    EXPECT_EQ(read[0].lfHeight, -12);
    EXPECT_EQ(DeleteObject(kept), 1);
}

TEST(DrawText, FormatsPlaceTheTextInTheRectangleAndItClipsTheText) {
    UniqueFont font = MakeFont(-10);
    const auto inkFor = [&](UINT format, RECT box = {10, 4, 70, 26},
                            std::u16string_view text = u"Ш") {
        Surface surface(80, 30);
        SelectionScope scope(surface.Dc(), font.get());
        SetBkMode(surface.Dc(), TRANSPARENT);
        DrawTextW(surface.Dc(), text, &box, format);
        return InkOf(surface);
    };
    const RECT left = inkFor(DT_LEFT);
    const RECT right = inkFor(DT_RIGHT);
    const RECT centre = inkFor(DT_CENTER);
    const RECT middle = inkFor(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_NEAR(left.left, 11, 1);
    EXPECT_NEAR(right.right, 68.5, 1.5);
    EXPECT_NEAR((centre.left + centre.right - 1) / 2.0, 40, 2);
    EXPECT_GE(left.top, 4);
    // Vertically centred: the ink moves down by about half the spare height.
    EXPECT_NEAR(middle.top - left.top, (22 - 13) / 2, 1);
    EXPECT_EQ(middle.left, centre.left);
    EXPECT_EQ(inkFor(DT_LEFT | DT_VCENTER).top, left.top) << "only a single line is centred";
    EXPECT_EQ(inkFor(DT_LEFT | DT_BOTTOM).top, left.top) << "or moved to the bottom";
    const RECT bottom = inkFor(DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(bottom.top - left.top, 22 - 13) << "the cell's foot on the rectangle's";
    const RECT clip = inkFor(DT_LEFT, {5, 2, 20, 8}, u"ЖЖЖЖЖЖ");
    EXPECT_TRUE(clip.left >= 5 && clip.right <= 20 && clip.top >= 2 && clip.bottom <= 8);
}

TEST(DrawText, CalcRectMeasuresWithoutDrawingLineEndsAndTheWidestRectangles) {
    Surface surface(100, 60);
    UniqueFont font = MakeFont(-10);
    SelectionScope scope(surface.Dc(), font.get());
    const TEXTMETRICW metrics = MetricsOf(surface.Dc());
    RECT box{3, 4, 3, 4};
    const int height = DrawTextW(surface.Dc(), u"Маршрут\nне найден", &box, DT_CALCRECT);
    EXPECT_EQ(height, 2 * metrics.tmHeight);
    EXPECT_EQ(box.bottom, 4 + 2 * metrics.tmHeight);
    EXPECT_EQ(InkOf(surface).right, -1);

    // A line ends at CR, LF or both together; a single line takes neither.
    for (const auto& [text, format, lines] : {std::tuple{u"a\r\nb", 0u, 2},
                                              {u"a\r\rb", 0u, 3},
                                              {u"a\n", 0u, 2},
                                              {u"", 0u, 1},
                                              {u"a\r\nb\nc", UINT{DT_SINGLELINE}, 1}}) {
        RECT measured{0, 0, 0, 0};
        EXPECT_EQ(DrawTextW(surface.Dc(), text, &measured, DT_CALCRECT | format),
                  lines * metrics.tmHeight)
            << lines;
    }
    EXPECT_EQ(DrawTextW(surface.Dc(), u"a\nb", 0, &box, DT_CALCRECT), metrics.tmHeight);  // no text
    // Words that just fill the box keep to one line, drawn whole; "..." keeps a pair before it.
    const auto drawn = [&](UINT format, HFONT shown = nullptr, std::u16string text = u"один два",
                           std::u16string_view fill = {}) {
        RECT area{0, 0, 0, 0};
        DrawTextW(surface.Dc(), fill.empty() ? text : fill, &area, DT_CALCRECT);
        Surface exact(area.right, area.bottom);
        SelectionScope inside(exact.Dc(), shown ? shown : font.get());
        DrawTextW(exact.Dc(), text, &area, format);
        return exact.Picture();
    };
    EXPECT_EQ(drawn(DT_WORDBREAK | DT_END_ELLIPSIS), drawn(DT_LEFT));
    EXPECT_EQ(drawn(DT_END_ELLIPSIS, nullptr, u"a😀bc", u"a😀..."), drawn(0, nullptr, u"a😀..."));
    for (const BYTE quality : {NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY}) {  // grey edges
        const UniqueFont smooth = MakeFont(-10, FW_NORMAL, u"", quality);
        EXPECT_EQ(drawn(DT_LEFT, smooth.get()).find('?') != std::string::npos,
                  quality == ANTIALIASED_QUALITY);
    }

    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    RECT everything{kLeast, kLeast, kMost, kMost};
    EXPECT_EQ(DrawTextW(surface.Dc(), u"один два", &everything, DT_WORDBREAK), metrics.tmHeight);
    // Measured from the far edge, the rectangle ends there.
    RECT edge{kMost - 1, kMost - 1, kMost - 1, kMost - 1};
    DrawTextW(surface.Dc(), u"Маршрут", &edge, DT_CALCRECT);
    EXPECT_EQ(std::pair(edge.right, edge.bottom), std::pair(kMost, kMost));
}

// A text's advance shows in the ink as the distance from the text to a copy drawn after it.
// The measured width is rounded up to it: never less, or the text drawn within it would lose its
// last column.
TEST(DrawText, CalcRectRoundsTheWidthUpToTheAdvance) {
    const std::tuple<int, LONG, LONG> fonts[] = {{1, -9, FW_NORMAL},  {1, -9, FW_BOLD},
                                                 {1, -14, FW_NORMAL}, {2, -9, FW_NORMAL},
                                                 {2, -14, FW_BOLD},   {2, -18, FW_BOLD}};
    for (const auto& [scale, height, weight] : fonts) {
        UniqueFont font = MakeFont(height, weight);
        Surface surface(300, 30, scale);
        SelectionScope scope(surface.Dc(), font.get());
        const auto inkEnd = [&](const std::u16string& text) {
            RECT box{0, 0, 300, 30};
            FillRect(surface.Dc(), &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            DrawTextW(surface.Dc(), text, &box, DT_LEFT);
            return InkOf(surface).right;
        };
        for (const std::u16string text : {u"м", u"-", u"Ш", u"█", u"Маршрут", u"Схема метро"}) {
            RECT measured{0, 0, 0, 0};
            DrawTextW(surface.Dc(), text, &measured, DT_CALCRECT);
            const LONG advance = inkEnd(text + text) - inkEnd(text);
            EXPECT_GE(measured.right * scale, advance) << scale << " " << height << " " << weight;
            EXPECT_LE(measured.right * scale, advance + scale) << scale << " " << height;
        }
    }
}

TEST(DrawText, SmallBoldDialogLettersKeepBothStemsBold) {
    // The pages' headings: a stem drawn a pixel thin turns "м" into a broken "и".
    UniqueFont font = MakeFont(-11, FW_BOLD, u"MS Sans Serif");
    for (const std::u16string_view letter : {u"м", u"и", u"н", u"п"}) {
        Surface surface(12, 16);
        SelectionScope scope(surface.Dc(), font.get());
        RECT box{0, 0, 12, 16};
        DrawTextW(surface.Dc(), letter, &box, DT_LEFT);
        for (int y = 0; y < 16; ++y) {
            const std::string row = surface.Row(y);
            const std::size_t left = row.find('#');
            const std::size_t right = row.rfind('#');
            if (left != std::string::npos) {
                EXPECT_TRUE(row[left + 1] == '#' && right > 0 && row[right - 1] == '#')
                    << surface.Picture();
            }
        }
    }
}

}  // namespace
}  // namespace qv
