#include "text/utf.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "text/printable.h"

namespace qv {
namespace {

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
    // The same characters one byte longer, one beyond the last, and other malformed sequences.
    for (const char* refused : {"\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
                                "\xC3", "\xED\xA0\x80", "\xED\xBF\xBF", "\xFF", "a\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(refused)) << refused;
    }
    EXPECT_TRUE(Utf8ToUtf16("\xED\x9F\xBF"));  // U+D7FF, just below the surrogates
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharactersAndAreFound) {
    const std::string replacement = "\xEF\xBF\xBD";
    const std::tuple<std::u16string, std::string, std::size_t> cases[] = {
        {{0xD800, u'a'}, replacement + "a", 0},
        {{u'a', 0xDC00, 0xDC00}, "a" + replacement + replacement, 1},  // two lows are no pair
        {{0xDC00, 0xD800}, replacement + replacement, 0},              // a pair in the wrong order
        {{0xD83D, 0xDE87, 0xDBFF}, "\xF0\x9F\x9A\x87" + replacement, 2},
        {{0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF", std::u16string::npos},  // U+10FFFF
    };
    for (const auto& [text, utf8, firstUnpaired] : cases) {
        EXPECT_EQ(Utf16ToUtf8(text), utf8);
        EXPECT_EQ(FindUnpairedSurrogate(text), firstUnpaired);
    }
}

TEST(Utf, FileNamesKeepTheirBytesAndTextsThatNameNoFileAreRefused) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xD0\x9A\xD0\xB8\xD0\xB5\xD0\xB2.qvn", u"Киев.qvn"},
        {"\xE9t\xE9.qvn", {0xDCE9, u't', 0xDCE9, u'.', u'q', u'v', u'n'}},  // Latin-1
        {"\xED\xB3\xA9", {0xDCED, 0xDCB3, 0xDCA9}},  // an encoded U+DCE9 is three bytes
        {"a\xC3", {u'a', 0xDCC3}},                   // cut short
        {"\xF0\x9F\x9A\x87\xFF", {0xD83D, 0xDE87, 0xDCFF}},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(FileNameText(bytes), text) << bytes;
        EXPECT_EQ(FileNameBytes(text), bytes) << bytes;
    }
    // No file name gives these: reading them any other way would name another file.
    for (const std::u16string& text : {std::u16string{u'a', 0xD800, u'.'}, std::u16string{0xDC7F},
                                       std::u16string{0xDD00}, std::u16string{0xDBFF}}) {
        EXPECT_FALSE(FileNameBytes(text)) << static_cast<int>(text[text.size() > 1]);
    }
    // Printable keeps a no-break space and escapes the controls before it, the first of them too.
    EXPECT_EQ(Printable("a\xC2\xA0\xC2\x9F\xC2\x80"), "a\xC2\xA0\\u009F\\u0080");
}

}  // namespace
}  // namespace qv
