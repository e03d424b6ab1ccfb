#include "text/utf.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Utf, RoundTripsCyrillicAndSupplementaryCharacters) {
    const std::string utf8 = "Ёлка Щ \xF0\x9F\x9A\x87";  // the last is U+1F687, a surrogate pair
    const std::optional<std::u16string> utf16 = Utf8ToUtf16(utf8);
    ASSERT_TRUE(utf16);
    EXPECT_EQ(*utf16, u"Ёлка Щ \U0001F687");
    EXPECT_EQ(utf16->size(), 9u);
    EXPECT_EQ(Utf16ToUtf8(*utf16), utf8);
}

TEST(Utf, RefusesMalformedUtf8) {
    EXPECT_FALSE(Utf8ToUtf16("\xC3"));          // cut short
    EXPECT_FALSE(Utf8ToUtf16("\xC0\xAF"));      // overlong
    EXPECT_FALSE(Utf8ToUtf16("\xED\xA0\x80"));  // encoded high surrogate
    EXPECT_FALSE(Utf8ToUtf16("\xED\xB0\x80"));  // encoded low surrogate
    EXPECT_FALSE(Utf8ToUtf16("\xED\xBF\xBF"));  // the last low surrogate
    EXPECT_TRUE(Utf8ToUtf16("\xED\x9F\xBF"));   // U+D7FF, just below them
    EXPECT_FALSE(Utf8ToUtf16("\xFF"));
    EXPECT_FALSE(Utf8ToUtf16("a\x80"));  // stray continuation byte
    EXPECT_TRUE(Utf8ToUtf16(""));
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharactersAndAreFound) {
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        std::u16string text;
        std::string utf8;
        std::size_t firstUnpaired;
    };
    const Case cases[] = {
        {{0xD800, u'a'}, replacement + "a", 0},
        {{u'a', 0xDC00, 0xDC00}, "a" + replacement + replacement, 1},  // two lows are no pair
        {{0xD800, 0xD800}, replacement + replacement, 0},
        {{0xDC00, 0xD800}, replacement + replacement, 0},  // a pair in the wrong order
        {{0xD83D, 0xDE87, 0xDBFF}, "\xF0\x9F\x9A\x87" + replacement, 2},
        {{0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF", std::u16string::npos},  // U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8);
        EXPECT_EQ(FindUnpairedSurrogate(c.text), c.firstUnpaired);
    }
}

TEST(Utf, Utf16LeBytesRoundTripAndIgnoreAnOddByte) {
    const std::u16string text = u"[Ж]";
    const std::string bytes = EncodeUtf16Le(text);
    EXPECT_EQ(bytes, std::string("[\0\x16\x04]\0", 6));
    EXPECT_EQ(DecodeUtf16Le(bytes + 'x'), text);
}

}  // namespace
}  // namespace qv
