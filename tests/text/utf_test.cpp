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
    EXPECT_FALSE(Utf8ToUtf16("\xC3"));              // cut short
    EXPECT_FALSE(Utf8ToUtf16("\xC0\xAF"));          // overlong
    EXPECT_FALSE(Utf8ToUtf16("\xED\xA0\x80"));      // encoded surrogate
    EXPECT_FALSE(Utf8ToUtf16("\xFF"));
    EXPECT_FALSE(Utf8ToUtf16("a\x80"));             // stray continuation byte
    EXPECT_TRUE(Utf8ToUtf16(""));
}

TEST(Utf, UnpairedSurrogateBecomesReplacementCharacter) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800}) + u"a"), "\xEF\xBF\xBD" "a");
}

TEST(Utf, Utf16LeBytesRoundTripAndIgnoreAnOddByte) {
    const std::u16string text = u"[Ж]";
    const std::string bytes = EncodeUtf16Le(text);
    EXPECT_EQ(bytes, std::string("[\0\x16\x04]\0", 6));
    EXPECT_EQ(DecodeUtf16Le(bytes + 'x'), text);
}

}  // namespace
}  // namespace qv
