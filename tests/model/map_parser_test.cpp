#include "model/map_parser.h"

#include <gtest/gtest.h>

#include "map_text.h"
#include "text/utf.h"

namespace qv {
namespace {

using testing::LoadText;
using testing::MapText;

// The smallest complete map: one ring line of three stations, as shipped in maps/example.qvn.
std::u16string ExampleText(
    std::u16string_view schemeRecord = u"Пример;1;0;2;2;",
    std::u16string_view drawingRecord = u"0;0;3;4;1;FF00FFh;-10;",
    std::u16string_view firstPoint = u"1;1;S;Первая;20;20;2;Первая;24;16;1;") {
    return MapText({u"[NAME]", schemeRecord, u"[MAP]", drawingRecord, u"[LINES]",
                    u"1;Кольцевая;0080FFh;1;3;2;", u"[STATION]", firstPoint,
                    u"1;2;S;Вторая;60;20;3;", u"1;3;S;Третья;40;60;2;", u"[CROSS]", u"[TABLETTERS]",
                    u"2;", u"В", u"П"});
}

// Two lines joined by one transfer; records given by the caller where a test varies them.
std::u16string TwoLineText(std::u16string_view transferSection,
                           std::u16string_view declaredTransfers = u"1") {
    return u"[NAME]\r\nДва;2;" + std::u16string(declaredTransfers) +
           u";\r\n[MAP]\r\n0;0;3;4;1;FF00FFh;\r\n[LINES]\r\n"
           u"1;Красная;0000FFh;0;2;\r\n2;Синяя;FF0000h;0;2;\r\n[STATION]\r\n"
           u"1;1;S;А;10;10;2;\r\n1;2;S;Б;20;10;2;\r\n2;1;S;В;22;12;3;\r\n2;2;S;Г;22;30;3;\r\n["
           u"CROSS]\r\n" +
           std::u16string(transferSection) + u"[TABLETTERS]\r\n1;\r\nА\r\n";
}

std::u16string Replaced(std::u16string text, std::u16string_view from, std::u16string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

MapError RefusalOf(std::u16string_view text) {
    NetworkModel model;
    MapError error;
    EXPECT_EQ(ParseMapText(model, text, &error), -1);
    EXPECT_FALSE(error.reason.empty());
    return error;
}

std::string OptionalFields(const NetworkModel& model) {
    const Station& point = *model.Stations()[0];
    const auto n = [](std::int64_t value) { return std::to_string(value) + " "; };
    return n(model.zoomFactor) + n(model.labelMinZoom) + n(model.originX) + n(model.viewY) +
           n(model.labelFontHeight) + n(model.labelColour) + n(model.labelHalo) +
           n(model.stationStyle) + Utf16ToUtf8(point.labelText) + " " + n(point.labelX) +
           n(point.labelY) + n(point.labelAlign);
}

TEST(MapParser, OptionalFieldsAreReadOnlyWhenEnoughCharactersRemainAndLeadingSpacesDropped) {
    struct Case {
        std::u16string_view scheme;
        std::u16string_view drawing;
        std::u16string_view point;
        const char* fields;  // zoom, label zoom, origin, font, colour, halo, style, label group
        const char* names = "Пример|Первая";
    };
    constexpr std::u16string_view kDrawing = u"0;0;3;4;1;FF00FFh;";
    constexpr std::u16string_view kPoint = u"1;1;S;Первая;20;20;2;";
    const Case cases[] = {
        // "2;" is only two characters: rule A does not read it.
        {u"Пример;1;0;2;2;", u"0;0;3;4;1;FF00FFh;-10;", kPoint, "2 1 0 0 -10 16777215 1 1  0 0 1 "},
        {u"Пример;1;0;3;12;", u"5;6;3;4;1;FF00FFh;", kPoint, "3 12 5 6 -8 16777215 1 1  0 0 1 "},
        // A halo of "0;" is two characters and stays at its default; rule B reads it as the style.
        {u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;-8;00FF00h;0;", kPoint,
         "1 1 0 0 -8 65280 1 0  0 0 1 "},
        // "2;" is two characters: rule B reads it.
        {u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;-12;00FF00h;00;2;", kPoint,
         "1 1 0 0 -12 65280 0 2  0 0 1 "},
        {u"Пример;1;0;", kDrawing, u"1;1;S;Первая;20;20;2;Ярлык;24;16;3;",
         "1 1 0 0 -8 16777215 1 1 Ярлык 24 16 3 "},
        // Five characters before field 8 are too few for the label group.
        {u"Пример;1;0;", kDrawing, u"1;1;S;Первая;20;20;2;L;12;",
         "1 1 0 0 -8 16777215 1 1  0 0 1 "},
        {u"Пример;1;0;", kDrawing, u"1;1;S;Первая;20;20;2;L;1;2;",
         "1 1 0 0 -8 16777215 1 1 L 1 2 1 "},
        // Spaces starting a field are dropped, others kept.
        {u"  Пример ;1;0;", kDrawing, u"1;1;S;  Первая  ; 20; 20;2;",
         "1 1 0 0 -8 16777215 1 1  0 0 1 ", "Пример |Первая  "},
    };
    for (const Case& c : cases) {
        NetworkModel model;
        ASSERT_EQ(LoadText(model, ExampleText(c.scheme, c.drawing, c.point)), 0);
        EXPECT_EQ(OptionalFields(model), c.fields) << Utf16ToUtf8(std::u16string(c.point));
        EXPECT_EQ(Utf16ToUtf8(model.name + u"|" + model.Stations()[0]->name), c.names);
    }
}

TEST(MapParser, TransfersAreReadUpToTheLetterHeaderAndZeroTimesAreKept) {
    // Any '[' or a capital of the next header's name ends a run of records.
    std::u16string text = TwoLineText(u"1;20;10;22;12;4;\r\n");
    text = Replaced(Replaced(text, u"[STATION]", u"[что угодно"), u"[CROSS]", u"CROSS]");
    NetworkModel model;
    ASSERT_EQ(LoadText(model, Replaced(text, u"[TABLETTERS]", u"TABLETTERS]")), 0);
    EXPECT_EQ(model.StationCount(), 4);
    EXPECT_EQ(model.transfers, (std::vector<Transfer>{{20, 10, 22, 12, 4}}));
    EXPECT_EQ(model.tabLetters, u"А");
    // As many letters as the picker has tabs for.
    std::u16string forty = u"40;\r\n";
    for (char16_t letter = u'А'; letter < u'А' + 40; ++letter) {
        forty += std::u16string(1, letter) + u"\r\n";
    }
    NetworkModel full;
    ASSERT_EQ(LoadText(full, Replaced(text, u"1;\r\nА\r\n", forty)), 0);
    EXPECT_EQ(full.tabLetters.size(), 40u);

    NetworkModel zero;
    const std::u16string zeroTimes =
        Replaced(Replaced(TwoLineText(u"1;20;10;22;12;0;\r\n"), u"0000FFh;0;2;", u"0000FFh;0;2;0;"),
                 u"Б;20;10;2;", u"Б;20;10;0;");
    ASSERT_EQ(LoadText(zero, zeroTimes), 0);
    EXPECT_EQ(std::pair(zero.transfers[0].time, zero.Stations()[1]->runTime), std::pair(0, 0));

    // No declared transfers: the line after the header is skipped, whatever it holds.
    NetworkModel none;
    ASSERT_EQ(LoadText(none, Replaced(TwoLineText(u"", u"0"), u"[TABLETTERS]", u"anything")), 0);
    EXPECT_EQ(none.TransferCount(), 0);
    EXPECT_EQ(none.tabLetters, u"А");
    // A transfer record there takes the header's place; the header then is no count.
    EXPECT_EQ(RefusalOf(TwoLineText(u"1;20;10;22;12;4;\r\n", u"0")).line, 15);
}

TEST(MapParser, RefusesWhatLiesOutsideTheFormatNamingTheLineAndAShortPrintableReason) {
    struct Case {
        const char* what;
        std::u16string text;
        int line;
        const char* reason = "";
    };
    const std::u16string example = ExampleText();
    const auto replaced = [&](std::u16string_view from, std::u16string_view to) {
        return Replaced(example, from, to);
    };
    const std::u16string twoLines = TwoLineText(u"1;20;10;22;12;4;\r\n");
    const std::u16string high(1, char16_t{0xD83D});
    const std::u16string low(1, char16_t{0xDE87});
    const Case cases[] = {
        {"another first header", u"[NAMES]\r\nX;1;0;\r\n", 1},
        {"nothing", u"", 1},
        {"empty line", replaced(u"[MAP]\r\n", u"\r\n[MAP]\r\n"), 3},
        {"empty field", replaced(u"1;2;S;Вторая;", u"1;2;S;;"), 9},
        {"missing last ;", replaced(u"1;3;S;Третья;40;60;2;", u"1;3;S;Третья;40;60;2"), 10},
        {"required number without digits", replaced(u"0;0;3;4;1;", u"0;x;3;4;1;"), 4},
        {"number too large", replaced(u"1;2;S;Вторая;60;", u"1;2;S;Вторая;6000000000;"), 9},
        {"more points than declared",
         replaced(u"1;Кольцевая;0080FFh;1;3;", u"1;Кольцевая;0080FFh;1;2;"), 10},
        {"colour without hex digits, forty characters quoted whole",
         replaced(u"0080FFh;1;3;", u"greengreengreengreengreengreengreengreen;1;3;"), 6,
         "line record: colour: not a colour: 'greengreengreengreengreengreengreengreen'"},
        {"more line records than declared", replaced(u"[STATION]", u"2;Б;0h;0;2;\r\n[STATION]"), 7,
         "line record: more line records than the 1 the scheme record declares"},
        {"kind of two letters", replaced(u"1;2;S;", u"1;2;SP;"), 9,
         "point record: kind: must be one character followed by ';'"},
        {"line position past the lines", Replaced(twoLines, u"2;2;S;Г", u"7;2;S;Г"), 12,
         "point record: line position 7, the map has 2 lines"},
        {"line 0", Replaced(twoLines, u"2;2;S;Г", u"0;2;S;Г"), 12, "line position 0, the map"},
        {"letter count above 40", replaced(u"2;\r\nВ", u"41;\r\nВ"), 13},
        {"fewer letters than counted", replaced(u"2;\r\nВ", u"3;\r\nВ"), 16},
        {"no letter header", twoLines.substr(0, twoLines.find(u"[TABLETTERS]")), 15,
         "[TABLETTERS]"},
        {"line with one point", Replaced(twoLines, u"2;2;S;Г;22;30;3;\r\n", u""), 7},
        {"more transfers than declared", TwoLineText(u"1;20;10;22;12;4;\r\n2;20;10;22;12;4;\r\n"),
         15},
        {"negative wait", replaced(u"0080FFh;1;3;2;", u"0080FFh;1;3;-2;"), 6, "waiting time: -2"},
        {"negative run", replaced(u"Вторая;60;20;3;", u"Вторая;60;20;-1;"), 9, "run time: -1"},
        {"negative transfer", TwoLineText(u"1;20;10;22;12;-2147483648;\r\n"), 14,
         "time: -2147483648"},
        {"NUL in the scheme name", replaced(u"Пример;", std::u16string(u"При\0мер;", 8)), 2,
         "control character (U+0000)"},
        {"last C1 control in a label", replaced(u"Первая;24;", u"Пер\x9Fвая;24;"), 8,
         "control character (U+009F)"},
        {"delete in a point name", replaced(u"Третья;", u"Третья\x7F;"), 10,
         "control character (U+007F)"},
        {"high half at the end", replaced(u"Вторая;", u"Вторая" + high + u";"), 9,
         "surrogate pair (U+D83D)"},
        {"halves in the wrong order", replaced(u"Третья;", low + high + u";"), 10,
         "surrogate pair (U+DE87)"},
        {"escape quoted short",
         replaced(u"0;0;3;4;1;", u"0;\x1B[2J" + std::u16string(100, u'9') + u";3;4;1;"), 4,
         "'<U+001B>[2J99"},
        {"half a pair as a tab letter", replaced(u"\r\nП\r\n", u"\r\n" + high + low + u"\r\n"), 15,
         "U+D83D"},
        {"low half as a tab letter", replaced(u"\r\nП\r\n", u"\r\n" + low + u"\r\n"), 15, "U+DE87"},
    };
    for (const Case& c : cases) {
        const MapError error = RefusalOf(c.text);
        EXPECT_EQ(error.line, c.line) << c.what << ": " << error.reason;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
        // Messages quote fields short and without control characters.
        EXPECT_EQ(error.reason.find('\x1B'), std::string::npos) << error.reason;
        EXPECT_LT(error.reason.size(), 110u) << error.reason;
    }
}

std::u16string MapOfPoints(std::int32_t count) {
    std::string text =
        "[NAME]\r\nБольшая;1;0;\r\n[MAP]\r\n0;0;1;1;1;0h;\r\n[LINES]\r\n1;Линия;0h;0;" +
        std::to_string(count) + ";\r\n[STATION]\r\n";
    for (std::int32_t i = 0; i < count; ++i) {
        text += "1;x;P;p;" + std::to_string(i) + ";0;1;\r\n";
    }
    return *Utf8ToUtf16(text + "[CROSS]\r\n[TABLETTERS]\r\n0;\r\n");
}

TEST(MapParser, PointsBeyondWhatSixteenBitRouteEntriesNameAreRefused) {
    NetworkModel largest;
    ASSERT_EQ(LoadText(largest, MapOfPoints(kMaxMapPoints)), 0);
    EXPECT_EQ(largest.StationCount(), 32767);

    const MapError error = RefusalOf(MapOfPoints(kMaxMapPoints + 1));
    EXPECT_EQ(error.line, 7 + 32768);  // the 32,768th point record
    EXPECT_NE(error.reason.find("32767"), std::string::npos) << error.reason;
}

TEST(MapParser, LongNamesAndLabelsAreCutNeverInsideASurrogatePair) {
    const std::u16string longName(120, u'Ж');
    const std::u16string longLabel(60, u'Л');
    NetworkModel model;
    ASSERT_EQ(LoadText(model,
                       ExampleText(longName + u";1;0;", u"0;0;3;4;1;FF00FFh;",
                                   u"1;1;S;" + longName + u";20;20;2;" + longLabel + u";24;16;1;")),
              0);
    EXPECT_EQ(model.Stations()[0]->labelText, longLabel.substr(0, 49));

    // U+1F687 is two code units; a cut between them would leave half a character.
    const std::u16string pair = u"\U0001F687";
    const auto withPairAt = [&](std::size_t position, std::size_t length) {
        return std::u16string(position, u'Ж') + pair + std::u16string(length - position - 2, u'Ж');
    };
    NetworkModel cut;
    ASSERT_EQ(LoadText(cut, ExampleText(withPairAt(98, 120) + u";1;0;", u"0;0;3;4;1;FF00FFh;",
                                        u"1;1;S;" + withPairAt(97, 120) + u";20;20;2;" +
                                            withPairAt(48, 60) + u";24;16;1;")),
              0);
    EXPECT_EQ(cut.name, std::u16string(98, u'Ж'));  // pair across the cut: dropped
    EXPECT_EQ(cut.Stations()[0]->name,
              withPairAt(97, 120).substr(0, 99));  // pair just inside: kept
    EXPECT_EQ(cut.Stations()[0]->labelText, std::u16string(48, u'Ж'));
}

TEST(MapParser, DeclaredCountsAllocateNothingLarge) {
    // Under the address sanitizer an allocation of this size would abort the test.
    std::u16string text = Replaced(ExampleText(u"Пример;2000000000;2000000000;"), u"0080FFh;1;3;",
                                   u"0080FFh;1;2000000000;");
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadText(model, text, &error), -1);  // two billion declared transfers, none given
    EXPECT_EQ(error.line, 12);
    NetworkModel fixed;
    ASSERT_EQ(LoadText(fixed, Replaced(text, u"2000000000;\r\n[MAP]", u"0;\r\n[MAP]")), 0);
    EXPECT_EQ(fixed.StationCount(), 3);
}

}  // namespace
}  // namespace qv
