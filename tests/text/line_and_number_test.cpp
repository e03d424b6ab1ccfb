#include <gtest/gtest.h>

#include "text/decimal.h"
#include "text/letter_case.h"
#include "text/line_reader.h"

namespace qv {
namespace {

TEST(TakeLine, AcceptsEveryLineEndAndTellsAnEmptyLineFromTheEnd) {
    std::u16string_view text = u"a\r\nb\nc\rd\r\n\r\ne";
    EXPECT_EQ(TakeLine(text), u"a");
    EXPECT_EQ(TakeLine(text), u"b");
    EXPECT_EQ(TakeLine(text), u"c");
    EXPECT_EQ(TakeLine(text), u"d");
    EXPECT_EQ(TakeLine(text), u"");   // an empty line is a line
    EXPECT_EQ(TakeLine(text), u"e");  // the last line may lack its end
    EXPECT_EQ(TakeLine(text), std::nullopt);
}

TEST(ParseDecimal, ReadsLikePercentD) {
    EXPECT_EQ(ParseDecimal(u"42"), 42);
    EXPECT_EQ(ParseDecimal(u"  -7xyz"), -7);
    EXPECT_EQ(ParseDecimal(u"+3"), 3);
    EXPECT_EQ(ParseDecimal(u"\t12 "), 12);
    EXPECT_EQ(ParseDecimal(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal(u"2147483647"), 2147483647);
}

TEST(ParseDecimal, RefusesNoDigitsAndOverflow) {
    EXPECT_EQ(ParseDecimal(u""), std::nullopt);
    EXPECT_EQ(ParseDecimal(u"-"), std::nullopt);
    EXPECT_EQ(ParseDecimal(u"x1"), std::nullopt);
    EXPECT_EQ(ParseDecimal(u"2147483648"), std::nullopt);
    EXPECT_EQ(ParseDecimal(u"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseDecimal(u"99999999999999999999999"), std::nullopt);
}

TEST(ParseHex, ReadsColoursWithOrWithoutTheLetterH) {
    EXPECT_EQ(ParseHex(u"FF0000h"), 0xFF0000u);
    EXPECT_EQ(ParseHex(u"0080ffh"), 0x0080FFu);
    EXPECT_EQ(ParseHex(u"0x1Fh"), 0x1Fu);
    EXPECT_EQ(ParseHex(u" ABC"), 0xABCu);
    EXPECT_EQ(ParseHex(u"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex(u"100000000"), std::nullopt);
    EXPECT_EQ(ParseHex(u"h"), std::nullopt);
    EXPECT_EQ(ParseHex(u"-1"), std::nullopt);
}

TEST(LetterCase, UpperAndFoldedUnitsAtTheEdgesOfEachRange) {
    struct Case {
        char16_t unit;
        char16_t upper;
        char16_t folded;
    };
    const Case cases[] = {
        {u'a', u'A', u'a'}, {u'z', u'Z', u'z'}, {u'A', u'A', u'a'}, {u'Z', u'Z', u'z'},
        {u'`', u'`', u'`'}, {u'{', u'{', u'{'}, {u'@', u'@', u'@'}, {u'[', u'[', u'['},
        {u'а', u'А', u'а'}, {u'я', u'Я', u'я'}, {u'А', u'А', u'а'}, {u'Я', u'Я', u'я'},
        {0xE0, 0xC0, 0xE0}, {0xFE, 0xDE, 0xFE}, {0xF7, 0xF7, 0xF7}, {0xFF, 0xFF, 0xFF},
        {0xC0, 0xC0, 0xE0}, {0xDE, 0xDE, 0xFE}, {0xD7, 0xD7, 0xD7}, {0xDF, 0xDF, 0xDF},
        {u'ѐ', u'Ѐ', u'ѐ'}, {u'џ', u'Џ', u'џ'}, {u'Ѐ', u'Ѐ', u'ѐ'}, {u'Џ', u'Џ', u'џ'},
        {u'ё', u'Ё', u'е'}, {u'Ё', u'Ё', u'е'}, {u'Ґ', u'Ґ', u'ґ'}, {u'Ѡ', u'Ѡ', u'Ѡ'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpperCodeUnit(c.unit), c.upper) << static_cast<int>(c.unit);
        EXPECT_EQ(FoldedLetter(c.unit), c.folded) << static_cast<int>(c.unit);
    }
}

}  // namespace
}  // namespace qv
