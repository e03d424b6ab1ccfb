#include <gtest/gtest.h>

#include "text/decimal.h"
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

}  // namespace
}  // namespace qv
