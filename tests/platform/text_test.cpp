#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/gdi/draw_text.h"
#include "platform/gdi/font_renderer.h"
#include "surface_fixture.h"

namespace qv {
namespace {

using testing::Surface;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 128);

UniqueFont MakeFont(LONG height, LONG weight = FW_NORMAL) {
    LOGFONTW attributes;
    attributes.lfHeight = height;
    attributes.lfWeight = weight;
    return UniqueFont(CreateFontIndirectW(&attributes));
}

TEXTMETRICW MetricsOf(HDC dc) {
    TEXTMETRICW metrics;
    EXPECT_EQ(GetTextMetricsW(dc, &metrics), 1);
    return metrics;
}

// Columns and rows that hold anything but white and the background colour.
struct Ink {
    int left = 1 << 20;
    int right = -1;
    int top = 1 << 20;
    int bottom = -1;
};

Ink InkOf(const Surface& surface, COLORREF background = kWhite) {
    Ink ink;
    for (int y = 0; y < surface.Pixels().DeviceHeight(); ++y) {
        for (int x = 0; x < surface.Pixels().DeviceWidth(); ++x) {
            const COLORREF c = surface.At(x, y);
            if (c != kWhite && c != background) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

TEST(TextMetrics, OfTheChosenFontAtItsSizesWithAPositiveHeightTheCellAndZeroTheDefault) {
    Surface surface(10, 10);
    struct Expected {
        LONG height;
        LONG cell;
        LONG ascent;
        LONG average;
    };
    for (const Expected e :
         {Expected{-8, 10, 8, 4}, Expected{-10, 13, 10, 5}, Expected{-13, 17, 13, 7}}) {
        UniqueFont font = MakeFont(e.height);
        SelectionScope scope(surface.Dc(), font.get());
        const TEXTMETRICW metrics = MetricsOf(surface.Dc());
        EXPECT_EQ(metrics.tmHeight, e.cell) << e.height;
        EXPECT_EQ(metrics.tmAscent, e.ascent) << e.height;
        EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
        EXPECT_EQ(metrics.tmAveCharWidth, e.average) << e.height;
    }
    UniqueFont cell = MakeFont(17);
    {
        SelectionScope scope(surface.Dc(), cell.get());
        EXPECT_NEAR(MetricsOf(surface.Dc()).tmHeight, 17, 1);
    }
    UniqueFont fallback = MakeFont(0);
    SelectionScope scope(surface.Dc(), fallback.get());
    const TEXTMETRICW metrics = MetricsOf(surface.Dc());
    EXPECT_EQ(metrics.tmAscent, 11);
    // The surface's own font is the default one.
    SelectionScope system(surface.Dc(), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(MetricsOf(surface.Dc()).tmHeight, metrics.tmHeight);
}

TEST(TextMetrics, HeightsBeyondTheScreenAreHeldAtTheTallestCharacter) {
    Surface surface(10, 10);
    UniqueFont tallest = MakeFont(-kMaxCharacterHeight);
    LONG tallestCell = 0;
    {
        SelectionScope scope(surface.Dc(), tallest.get());
        tallestCell = MetricsOf(surface.Dc()).tmHeight;
    }
    EXPECT_GT(tallestCell, kMaxCharacterHeight);
    for (const LONG height :
         {LONG{-83'000'000}, LONG{-2'147'483'647} - 1, LONG{83'000'000}, LONG{2'147'483'647}}) {
        UniqueFont huge = MakeFont(height);
        SelectionScope scope(surface.Dc(), huge.get());
        EXPECT_EQ(MetricsOf(surface.Dc()).tmHeight, tallestCell) << height;
        RECT rect{0, 0, 10, 10};
        EXPECT_GT(DrawTextW(surface.Dc(), u"Ж", &rect, DT_LEFT), 0);
    }
}

TEST(TextMetrics, AreTheSameAtEveryDeviceScaleAndSoIsTheLayout) {
    UniqueFont font = MakeFont(-9, FW_BOLD);
    Surface single(80, 20, 1);
    Surface twice(80, 20, 2);
    SelectionScope a(single.Dc(), font.get());
    SelectionScope b(twice.Dc(), font.get());
    const TEXTMETRICW one = MetricsOf(single.Dc());
    const TEXTMETRICW two = MetricsOf(twice.Dc());
    EXPECT_EQ(one.tmHeight, two.tmHeight);
    EXPECT_EQ(one.tmAveCharWidth, two.tmAveCharWidth);
    EXPECT_EQ(one.tmWeight, FW_BOLD);
    // Text measures the same at every scale, so a label that fits at one fits at the other.
    Surface thrice(10, 10, 3);
    SelectionScope c(thrice.Dc(), font.get());
    for (const std::u16string_view text : {u"Алтуфьево", u"максимальное количество", u"МЦД - 2"}) {
        RECT atOne{};
        RECT atTwo{};
        RECT atThree{};
        DrawTextW(single.Dc(), text, &atOne, DT_CALCRECT | DT_SINGLELINE);
        DrawTextW(twice.Dc(), text, &atTwo, DT_CALCRECT | DT_SINGLELINE);
        DrawTextW(thrice.Dc(), text, &atThree, DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(atOne, atTwo);
        EXPECT_EQ(atOne, atThree);
    }
    // And is drawn where it was measured, in logical pixels.
    RECT box1{0, 0, 80, 20};
    RECT box2{0, 0, 80, 20};
    DrawTextW(single.Dc(), u"Схема", &box1, DT_RIGHT);
    DrawTextW(twice.Dc(), u"Схема", &box2, DT_RIGHT);
    const Ink inkOne = InkOf(single);
    const Ink inkTwo = InkOf(twice);
    EXPECT_NEAR(inkTwo.right / 2.0, inkOne.right, 1.5);
    EXPECT_NEAR(inkTwo.left / 2.0, inkOne.left, 2.5);
    EXPECT_NEAR(inkTwo.bottom / 2.0, inkOne.bottom, 1.5);
}

TEST(DrawText, OpaqueFillsTheCellAndTransparentDoesNot) {
    for (const int mode : {OPAQUE, TRANSPARENT}) {
        Surface surface(60, 20);
        UniqueFont font = MakeFont(-10);
        SelectionScope scope(surface.Dc(), font.get());
        SetBkMode(surface.Dc(), mode);
        SetBkColor(surface.Dc(), kYellow);
        RECT box{2, 3, 58, 19};
        DrawTextW(surface.Dc(), u"Ж", &box, DT_LEFT);
        const TEXTMETRICW metrics = MetricsOf(surface.Dc());
        const bool filled =
            surface.At(2, 3) == kYellow && surface.At(2, 3 + metrics.tmHeight - 1) == kYellow;
        EXPECT_EQ(filled, mode == OPAQUE);
        EXPECT_EQ(surface.At(2, 3 + metrics.tmHeight), kWhite);  // only the cell
        EXPECT_EQ(surface.At(40, 5), kWhite);                    // and only as wide as the text
        EXPECT_EQ(surface.At(1, 5), kWhite);
    }
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
    const Ink left = inkFor(DT_LEFT);
    const Ink right = inkFor(DT_RIGHT);
    const Ink centre = inkFor(DT_CENTER);
    const Ink middle = inkFor(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GE(left.left, 10);
    EXPECT_LE(left.left, 12);
    EXPECT_LE(right.right, 69);
    EXPECT_GE(right.right, 66);
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 40, 2);
    EXPECT_GE(left.top, 4);
    EXPECT_LE(left.top, 7);
    // Vertically centred: the ink moves down by about half the spare height.
    EXPECT_NEAR(middle.top - left.top, (22 - 13) / 2, 1);
    EXPECT_EQ(middle.left, centre.left);
    const Ink bottom = inkFor(DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(bottom.top - left.top, 22 - 13) << "the cell's foot on the rectangle's";
    const Ink clipped = inkFor(DT_LEFT, {5, 2, 20, 8}, u"ЖЖЖЖЖЖ");
    EXPECT_GE(clipped.left, 5);
    EXPECT_LE(clipped.right, 19);
    EXPECT_GE(clipped.top, 2);
    EXPECT_LE(clipped.bottom, 7);
}

// A line too wide for its rectangle ends in "..." in place of the tail that does not fit: it
// looks as the longest beginning that fits with the dots does, found by measuring each, at
// both device scales.
TEST(DrawText, EndEllipsisReplacesTheTailThatDoesNotFit) {
    UniqueFont font = MakeFont(-11);
    struct Case {
        std::u16string text;
        int width;
    };
    const Case cases[] = {
        {u"Калининская", 200},                   // fits: unchanged
        {u"Калининско-Солнцевская линия", 100},  // cut
        {u"Замоскворецкая", 40},                 // cut short
        {u"Ж", 3},                               // not even the dots fit
        {u"ab\U0001D11E\U0001D11Ecd", 30},       // a pair is kept whole or dropped whole
    };
    for (const int scale : {1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << "scale " << scale << " width " << c.width);
            const auto draw = [&](std::u16string_view text, UINT format) {
                Surface surface(220, 20, scale);
                SelectionScope scope(surface.Dc(), font.get());
                SetBkMode(surface.Dc(), TRANSPARENT);
                RECT box{5, 2, 5 + c.width, 18};
                DrawTextW(surface.Dc(), text, &box, format | DT_SINGLELINE);
                return surface.Picture();
            };
            // The widest beginning whose picture with the dots ends inside the rectangle.
            std::u16string expected = c.text;
            {
                Surface measure(10, 10, scale);
                SelectionScope scope(measure.Dc(), font.get());
                const auto fits = [&](const std::u16string& candidate) {
                    RECT rect{0, 0, 0, 0};
                    DrawTextW(measure.Dc(), candidate, &rect, DT_SINGLELINE | DT_CALCRECT);
                    return rect.right <= c.width;
                };
                if (!fits(c.text)) {
                    expected = u"...";
                    for (std::size_t length = 1; length <= c.text.size(); ++length) {
                        const char16_t last = c.text[length - 1];
                        const bool splitsPair = last >= 0xD800 && last <= 0xDBFF;
                        const std::u16string candidate = c.text.substr(0, length) + u"...";
                        if (!splitsPair && fits(candidate)) {
                            expected = candidate;
                        }
                    }
                }
            }
            EXPECT_EQ(draw(c.text, DT_END_ELLIPSIS), draw(expected, 0));
        }
    }
}

TEST(DrawText, CalcRectMeasuresWithoutDrawingUpToTheTerminatorAndWithWordBreaks) {
    Surface surface(100, 60);
    UniqueFont font = MakeFont(-10);
    SelectionScope scope(surface.Dc(), font.get());
    const TEXTMETRICW metrics = MetricsOf(surface.Dc());
    RECT box{3, 4, 3, 4};
    const int height = DrawTextW(surface.Dc(), u"Маршрут\nне найден", &box, DT_CALCRECT);
    EXPECT_EQ(height, 2 * metrics.tmHeight);
    EXPECT_EQ(box.bottom, 4 + 2 * metrics.tmHeight);
    EXPECT_GT(box.right - box.left, 30);
    EXPECT_LT(box.right - box.left, 70);
    EXPECT_EQ(InkOf(surface).right, -1);

    RECT single{0, 0, 0, 0};
    DrawTextW(surface.Dc(), u"Маршрут\nне найден", &single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.bottom, metrics.tmHeight);

    // A negative count runs to the terminating zero; word breaking makes more lines.
    RECT terminated{0, 0, 0, 0};
    const char16_t text[] = u"ab\0cd";
    DrawTextW(surface.Dc(), text, -1, &terminated, DT_CALCRECT);
    RECT prefix{0, 0, 0, 0};
    DrawTextW(surface.Dc(), u"ab", &prefix, DT_CALCRECT);
    EXPECT_EQ(terminated.right, prefix.right);

    // A line ends at CR, LF or both together; a single line takes neither.
    struct Breaks {
        std::u16string_view text;
        UINT format;
        int lines;
    };
    for (const Breaks b :
         {Breaks{u"a\r\nb", 0, 2}, Breaks{u"a\n\nb", 0, 3}, Breaks{u"a\r\rb", 0, 3},
          Breaks{u"a\n", 0, 2}, Breaks{u"", 0, 1}, Breaks{u"a\r\nb\nc", DT_SINGLELINE, 1}}) {
        RECT measured{0, 0, 0, 0};
        EXPECT_EQ(DrawTextW(surface.Dc(), b.text, &measured, DT_CALCRECT | b.format),
                  b.lines * metrics.tmHeight)
            << b.lines;
    }

    RECT narrow{0, 0, 40, 0};
    const int lines = DrawTextW(surface.Dc(), u"один два три", &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(lines, 2 * MetricsOf(surface.Dc()).tmHeight);
}

TEST(DrawText, TheWidestRectanglesDoNotOverflow) {
    Surface surface(40, 20);
    UniqueFont font = MakeFont(-10);
    SelectionScope scope(surface.Dc(), font.get());
    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    RECT everything{kLeast, kLeast, kMost, kMost};
    const LONG lineHeight = MetricsOf(surface.Dc()).tmHeight;
    EXPECT_EQ(DrawTextW(surface.Dc(), u"один два", &everything, DT_WORDBREAK), lineHeight);
    // Measured from the far edge, the rectangle ends there.
    RECT edge{kMost - 1, kMost - 1, kMost - 1, kMost - 1};
    DrawTextW(surface.Dc(), u"Маршрут", &edge, DT_CALCRECT);
    EXPECT_EQ(edge.right, kMost);
    EXPECT_EQ(edge.bottom, kMost);
}

TEST(DrawText, SmallBoldDialogLettersKeepBothStemsBold) {
    // The pages' headings: the dialog face, bold, at 11 pixels, drawn without smoothing. A stem
    // drawn a pixel thin there turns "м" into a broken "и".
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    attributes.lfWeight = FW_BOLD;
    std::u16string_view(u"MS Sans Serif").copy(attributes.lfFaceName, LF_FACESIZE - 1);
    UniqueFont font(CreateFontIndirectW(&attributes));
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
