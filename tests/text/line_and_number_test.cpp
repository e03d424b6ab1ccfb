#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "text/decimal.h"
#include "text/letter_case.h"
#include "text/line_reader.h"

namespace qv {
namespace {

TEST(TakeLine, AcceptsEveryLineEndAndTellsAnEmptyLineFromTheEnd) {
    std::u16string_view text = u"a\r\nb\nc\rd\r\n\r\ne";
    for (const std::u16string_view line : {u"a", u"b", u"c", u"d", u"", u"e"}) {
        EXPECT_EQ(TakeLine(text), line);
    }
    EXPECT_EQ(TakeLine(text), std::nullopt);
}

TEST(ParseNumber, ReadsLikePercentDAndPercentXAndRefusesNoDigitsAndOverflow) {
    const std::pair<std::u16string_view, std::optional<std::int32_t>> decimals[] = {
        {u"  -7xyz", -7},
        {u"+3", 3},
        {u"\t12 ", 12},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483647", 2147483647},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u"x1", std::nullopt},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
    };
    for (const auto& [text, value] : decimals) {
        EXPECT_EQ(ParseDecimal(text), value) << value.value_or(0);
    }
    const std::pair<std::u16string_view, std::optional<std::uint32_t>> hex[] = {
        {u"FF0000h", 0xFF0000u}, {u"0080ffh", 0x0080FFu},    {u"0x1Fh", 0x1Fu},
        {u" ABC", 0xABCu},       {u"FFFFFFFF", 0xFFFFFFFFu}, {u"100000000", std::nullopt},
        {u"h", std::nullopt},    {u"-1", std::nullopt},      {u"0X00FF00", 0xFF00u},
    };
    for (const auto& [text, value] : hex) {
        EXPECT_EQ(ParseHex(text), value) << value.value_or(0);
    }
}

TEST(LetterCase, UpperAndFoldedUnitsAtTheEdgesOfEachRange) {
    const std::tuple<char16_t, char16_t, char16_t> cases[] = {
        {u'a', u'A', u'a'}, {u'z', u'Z', u'z'}, {u'A', u'A', u'a'}, {u'Z', u'Z', u'z'},
        {u'{', u'{', u'{'}, {u'[', u'[', u'['}, {u'а', u'А', u'а'}, {u'я', u'Я', u'я'},
        {u'А', u'А', u'а'}, {u'Я', u'Я', u'я'}, {0xE0, 0xC0, 0xE0}, {0xFE, 0xDE, 0xFE},
        {0xF7, 0xF7, 0xF7}, {0xFF, 0xFF, 0xFF}, {0xC0, 0xC0, 0xE0}, {0xDE, 0xDE, 0xFE},
        {0xD7, 0xD7, 0xD7}, {0xDF, 0xDF, 0xDF}, {u'ѐ', u'Ѐ', u'ѐ'}, {u'џ', u'Џ', u'џ'},
        {u'Ѐ', u'Ѐ', u'ѐ'}, {u'Џ', u'Џ', u'џ'}, {u'ё', u'Ё', u'е'}, {u'Ё', u'Ё', u'е'},
        {u'Ґ', u'Ґ', u'ґ'}, {u'ґ', u'Ґ', u'ґ'}, {u'Ѡ', u'Ѡ', u'Ѡ'},
    };
    for (const auto& [unit, upper, folded] : cases) {
        EXPECT_EQ(UpperCodeUnit(unit), upper) << static_cast<int>(unit);
        EXPECT_EQ(FoldedLetter(unit), folded) << static_cast<int>(unit);
    }
}

}  // namespace
}  // namespace qv
