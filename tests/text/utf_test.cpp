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

TEST(Utf, EachCharacterTakesTheShortestSequenceAndOnlyThatIsRead) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"\u007F", "\x7F"},         {u"\u0080", "\xC2\x80"},
        {u"\u07FF", "\xDF\xBF"},     {u"\u0800", "\xE0\xA0\x80"},
        {u"\uFFFF", "\xEF\xBF\xBF"}, {u"\U00010000", "\xF0\x90\x80\x80"},
    };
    for (const auto& [text, utf8] : cases) {
        EXPECT_EQ(Utf16ToUtf8(text), utf8) << static_cast<int>(text[0]);
        EXPECT_EQ(Utf8ToUtf16(utf8), text) << static_cast<int>(text[0]);
    }
    // The same characters one byte longer, and one beyond the last.
    for (const char* refused :
         {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(refused)) << refused;
    }
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

TEST(Utf, FileNamesKeepTheirBytesAndTextsThatNameNoFileAreRefused) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\xD0\x9A\xD0\xB8\xD0\xB5\xD0\xB2.qvn", u"Киев.qvn"},
        {"\xE9t\xE9.qvn", {0xDCE9, u't', 0xDCE9, u'.', u'q', u'v', u'n'}},  // Latin-1
        {"\xED\xB3\xA9", {0xDCED, 0xDCB3, 0xDCA9}},  // an encoded U+DCE9 is three bytes
        {"a\xC3", {u'a', 0xDCC3}},                   // cut short
        {"\xF0\x9F\x9A\x87\xFF", {0xD83D, 0xDE87, 0xDCFF}},
        {"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameText(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(FileNameBytes(c.text), c.bytes) << c.bytes;
    }
    // No file name gives these: reading them any other way would name another file.
    for (const std::u16string& text : {std::u16string{u'a', 0xD800, u'.'}, std::u16string{0xDC7F},
                                       std::u16string{0xDD00}, std::u16string{0xDBFF}}) {
        EXPECT_FALSE(FileNameBytes(text)) << static_cast<int>(text[text.size() > 1]);
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
