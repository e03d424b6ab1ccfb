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

MapError RefusalOf(std::u16string_view text) {
    NetworkModel model;
    MapError error;
    EXPECT_EQ(ParseMapText(model, text, &error), -1);
    EXPECT_FALSE(error.reason.empty());
    return error;
}

TEST(MapParser, ExampleFileGivesOneRingOfThreeStations) {
    NetworkModel model;
    ASSERT_EQ(LoadText(model, ExampleText()), 0);
    EXPECT_EQ(model.name, u"Пример");
    EXPECT_EQ(model.zoomFactor, 2);
    EXPECT_EQ(model.labelMinZoom, 1);  // "2;" is only two characters: rule A does not read it
    EXPECT_EQ(model.lineWidth, 3);
    EXPECT_EQ(model.stationRadius, 4);
    EXPECT_EQ(model.outlineWidth, 1);
    EXPECT_EQ(model.routeColour, 0xFF00FFu);
    EXPECT_EQ(model.labelFontHeight, -10);
    EXPECT_EQ(model.labelColour, 0xFFFFFFu);
    EXPECT_EQ(model.labelHalo, 1);
    EXPECT_EQ(model.stationStyle, 1);
    EXPECT_EQ(model.TransferCount(), 0);
    EXPECT_EQ(model.tabLetters, u"ВП");

    ASSERT_EQ(model.LineCount(), 1);
    const Line& line = *model.Lines()[0];
    EXPECT_EQ(line.name, u"Кольцевая");
    EXPECT_EQ(line.colour, 0x0080FFu);
    EXPECT_TRUE(line.isRing);
    EXPECT_EQ(line.waitTime, 2);
    EXPECT_EQ(line.lineWidth, 3);
    ASSERT_EQ(model.StationCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(model.Stations()[i]->index, i);
        EXPECT_EQ(model.Stations()[i]->line, &line);
    }
    const Station& first = *model.Stations()[0];
    EXPECT_EQ(first.labelText, u"Первая");
    EXPECT_EQ(first.labelX, 24);
    EXPECT_EQ(first.labelY, 16);
    EXPECT_EQ(first.runTime, 2);
    const Station& second = *model.Stations()[1];
    EXPECT_EQ(second.name, u"Вторая");
    EXPECT_EQ(second.labelText, u"");
    EXPECT_EQ(second.labelX, 0);
    EXPECT_EQ(second.labelAlign, 1);
    EXPECT_EQ(second.x, 60);
    EXPECT_EQ(second.runTime, 3);
}

TEST(MapParser, RuleAReadsAFieldOnlyWhenMoreThanTwoCharactersRemain) {
    NetworkModel model;
    ASSERT_EQ(LoadText(model, ExampleText(u"Пример;1;0;3;12;")), 0);
    EXPECT_EQ(model.zoomFactor, 3);
    EXPECT_EQ(model.labelMinZoom, 12);

    NetworkModel bare;
    ASSERT_EQ(LoadText(bare, ExampleText(u"Пример;1;0;")), 0);
    EXPECT_EQ(bare.zoomFactor, 1);
    EXPECT_EQ(bare.labelMinZoom, 1);

    // A halo of "0;" is two characters and stays at its default.
    NetworkModel halo;
    ASSERT_EQ(LoadText(halo, ExampleText(u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;-8;00FF00h;0;")), 0);
    EXPECT_EQ(halo.labelColour, 0x00FF00u);
    EXPECT_EQ(halo.labelHalo, 1);
}

TEST(MapParser, DrawingRecordDefaultsAndRuleB) {
    NetworkModel defaults;
    ASSERT_EQ(LoadText(defaults, ExampleText(u"Пример;1;0;", u"5;6;3;4;1;FF00FFh;")), 0);
    EXPECT_EQ(defaults.originX, 5);
    EXPECT_EQ(defaults.viewX, 5);
    EXPECT_EQ(defaults.originY, 6);
    EXPECT_EQ(defaults.viewY, 6);
    EXPECT_EQ(defaults.labelFontHeight, -8);
    EXPECT_EQ(defaults.labelColour, 0xFFFFFFu);
    EXPECT_EQ(defaults.labelHalo, 1);
    EXPECT_EQ(defaults.stationStyle, 1);

    NetworkModel full;
    ASSERT_EQ(LoadText(full, ExampleText(u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;-12;00FF00h;00;2;")),
              0);
    EXPECT_EQ(full.labelFontHeight, -12);
    EXPECT_EQ(full.labelHalo, 0);
    EXPECT_EQ(full.stationStyle, 2);  // "2;" is two characters: rule B reads it
}

TEST(MapParser, PointRecordOptionalFields) {
    NetworkModel aligned;
    ASSERT_EQ(LoadText(aligned, ExampleText(u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;",
                                            u"1;1;S;Первая;20;20;2;Ярлык;24;16;3;")),
              0);
    EXPECT_EQ(aligned.Stations()[0]->labelText, u"Ярлык");
    EXPECT_EQ(aligned.Stations()[0]->labelAlign, 3);

    // Five characters before field 8 are too few for the label group: all of it keeps defaults,
    // and the alignment then read from "L" holds no number.
    NetworkModel shortGroup;
    ASSERT_EQ(LoadText(shortGroup, ExampleText(u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;",
                                               u"1;1;S;Первая;20;20;2;L;12;")),
              0);
    const Station& point = *shortGroup.Stations()[0];
    EXPECT_EQ(point.labelText, u"");
    EXPECT_EQ(point.labelX, 0);
    EXPECT_EQ(point.labelY, 0);
    EXPECT_EQ(point.labelAlign, 1);

    NetworkModel sixCharacters;
    ASSERT_EQ(LoadText(sixCharacters, ExampleText(u"Пример;1;0;", u"0;0;3;4;1;FF00FFh;",
                                                  u"1;1;S;Первая;20;20;2;L;1;2;")),
              0);
    EXPECT_EQ(sixCharacters.Stations()[0]->labelText, u"L");
    EXPECT_EQ(sixCharacters.Stations()[0]->labelX, 1);
    EXPECT_EQ(sixCharacters.Stations()[0]->labelY, 2);
    EXPECT_EQ(sixCharacters.Stations()[0]->labelAlign, 1);
}

TEST(MapParser, SpacesStartingAFieldAreDroppedOthersKept) {
    NetworkModel model;
    ASSERT_EQ(LoadText(model, ExampleText(u"  Пример ;1;0;", u"0;0;3;4;1;FF00FFh;",
                                          u"1;1;S;  Первая  ; 20; 20;2;")),
              0);
    EXPECT_EQ(model.name, u"Пример ");
    EXPECT_EQ(model.Stations()[0]->name, u"Первая  ");
    EXPECT_EQ(model.Stations()[0]->x, 20);
}

TEST(MapParser, LineEndsLfAndCrLfGiveTheSameNetwork) {
    std::u16string lf = ExampleText();
    std::erase(lf, u'\r');
    NetworkModel crlfModel;
    NetworkModel lfModel;
    ASSERT_EQ(LoadText(crlfModel, ExampleText()), 0);
    ASSERT_EQ(LoadText(lfModel, lf), 0);
    ASSERT_EQ(lfModel.StationCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lfModel.Stations()[i]->name, crlfModel.Stations()[i]->name);
    }
    EXPECT_EQ(lfModel.tabLetters, u"ВП");
}

TEST(MapParser, OlderFormatWithoutTabLettersIsRefused) {
    const std::u16string text = TwoLineText(u"1;20;10;22;12;4;\r\n");
    const MapError error = RefusalOf(text.substr(0, text.find(u"[TABLETTERS]")));
    EXPECT_NE(error.reason.find("[TABLETTERS]"), std::string::npos);
}

TEST(MapParser, TransfersAreReadUpToTheLetterHeader) {
    NetworkModel model;
    ASSERT_EQ(LoadText(model, TwoLineText(u"1;20;10;22;12;4;\r\n")), 0);
    ASSERT_EQ(model.TransferCount(), 1);
    EXPECT_EQ(model.transfers[0], (Transfer{20, 10, 22, 12, 4}));
    EXPECT_TRUE(model.StationLinks().Joined(1, 2));
}

TEST(MapParser, NoDeclaredTransfersSkipsTheLineAfterCross) {
    // Whatever that line holds, the next one is the letter count.
    NetworkModel model;
    const std::u16string text = TwoLineText(u"", u"0");
    std::u16string garbled = text;
    garbled.replace(garbled.find(u"[TABLETTERS]"), 12, u"anything");
    ASSERT_EQ(LoadText(model, garbled), 0);
    EXPECT_EQ(model.TransferCount(), 0);
    EXPECT_EQ(model.tabLetters, u"А");

    // A transfer record under a count of 0 takes the header's place; the header then is no count.
    const MapError error = RefusalOf(TwoLineText(u"1;20;10;22;12;4;\r\n", u"0"));
    EXPECT_EQ(error.line, 15);
}

TEST(MapParser, RefusesWhatLiesOutsideTheFormat) {
    struct Case {
        const char* what;
        std::u16string text;
        int line;
    };
    const std::u16string example = ExampleText();
    const auto replaced = [&](std::u16string_view from, std::u16string_view to) {
        std::u16string text = example;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    std::u16string shortLine = TwoLineText(u"1;20;10;22;12;4;\r\n");
    shortLine.erase(shortLine.find(u"2;2;S;Г;22;30;3;\r\n"), 18);
    const Case cases[] = {
        {"another first header", u"[NAMES]\r\nX;1;0;\r\n", 1},
        {"text before the first header", u"X[NAME]\r\n", 1},
        {"an empty first line", u"\r\n[NAME]\r\n", 1},
        {"nothing", u"", 1},
        {"empty line", replaced(u"[MAP]\r\n", u"\r\n[MAP]\r\n"), 3},
        {"empty field", replaced(u"1;2;S;Вторая;", u"1;2;S;;"), 9},
        {"field of spaces", replaced(u"1;2;S;Вторая;", u"1;2;S;  ;"), 9},
        {"missing last ;", replaced(u"1;3;S;Третья;40;60;2;", u"1;3;S;Третья;40;60;2"), 10},
        {"required number without digits", replaced(u"0;0;3;4;1;", u"0;x;3;4;1;"), 4},
        {"colour without digits", replaced(u"FF00FFh", u"hh"), 4},
        {"number too large", replaced(u"1;2;S;Вторая;60;", u"1;2;S;Вторая;6000000000;"), 9},
        {"kind of two characters", replaced(u"1;2;S;", u"1;2;SS;"), 9},
        {"kind missing", replaced(u"1;2;S;Вторая;60;20;3;", u"1;2;S"), 9},
        {"more points than declared",
         replaced(u"1;Кольцевая;0080FFh;1;3;", u"1;Кольцевая;0080FFh;1;2;"), 10},
        {"more lines than declared", replaced(u"Пример;1;", u"Пример;0;"), 6},
        {"line position 0", replaced(u"1;2;S;", u"0;2;S;"), 9},
        {"letter count above 40", replaced(u"2;\r\nВ", u"41;\r\nВ"), 13},
        {"negative letter count", replaced(u"2;\r\nВ", u"-1;\r\nВ"), 13},
        {"fewer letters than counted", replaced(u"2;\r\nВ", u"3;\r\nВ"), 16},
        {"empty letter line", replaced(u"В\r\nП", u"\r\nП"), 14},
        {"letter count without number", replaced(u"2;\r\nВ", u"x;\r\nВ"), 13},
        {"line with one point", shortLine, 7},
        {"more transfers than declared", TwoLineText(u"1;20;10;22;12;4;\r\n2;20;10;22;12;4;\r\n"),
         15},
    };
    for (const Case& c : cases) {
        NetworkModel model;
        MapError error;
        EXPECT_EQ(ParseMapText(model, c.text, &error), -1) << c.what;
        EXPECT_EQ(error.line, c.line) << c.what << ": " << error.reason;
        EXPECT_FALSE(error.reason.empty()) << c.what;
    }
}

TEST(MapParser, RefusalNamesTheLineAndTheReason) {
    std::u16string text = TwoLineText(u"1;20;10;22;12;4;\r\n");
    text.replace(text.find(u"2;2;S;Г"), 7, u"7;2;S;Г");
    const MapError error = RefusalOf(text);
    EXPECT_EQ(error.line, 12);
    EXPECT_EQ(error.reason, "point record: line position 7, the map has 2 lines");
}

TEST(MapParser, NegativeTimesAreRefusedAtTheirRecord) {
    struct Case {
        const char* what;
        std::u16string text;
        int line;
    };
    const auto replaced = [](std::u16string text, std::u16string_view from,
                             std::u16string_view to) {
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const Case cases[] = {
        {"waiting time", replaced(ExampleText(), u"0080FFh;1;3;2;", u"0080FFh;1;3;-2;"), 6},
        {"run time", replaced(ExampleText(), u"Вторая;60;20;3;", u"Вторая;60;20;-1;"), 9},
        {"time", TwoLineText(u"1;20;10;22;12;-2147483648;\r\n"), 14},
    };
    for (const Case& c : cases) {
        const MapError error = RefusalOf(c.text);
        EXPECT_EQ(error.line, c.line) << c.what;
        EXPECT_NE(error.reason.find(std::string(c.what) + ": -"), std::string::npos)
            << error.reason;
        EXPECT_NE(error.reason.find("negative"), std::string::npos) << error.reason;
    }

    NetworkModel zero;
    const std::u16string zeroTimes =
        replaced(replaced(TwoLineText(u"1;20;10;22;12;0;\r\n"), u"0000FFh;0;2;", u"0000FFh;0;2;0;"),
                 u"Б;20;10;2;", u"Б;20;10;0;");
    ASSERT_EQ(LoadText(zero, zeroTimes), 0);
    EXPECT_EQ(zero.transfers[0].time, 0);
    EXPECT_EQ(zero.Stations()[1]->runTime, 0);
}

TEST(MapParser, NamesWithControlCharactersOrHalfPairsAreRefused) {
    struct Case {
        const char* what;
        std::u16string_view from;
        std::u16string to;
        int line;
        const char* reason;
    };
    const std::u16string high(1, char16_t{0xD83D});
    const std::u16string low(1, char16_t{0xDE87});
    const Case cases[] = {
        {"NUL in the scheme name", u"Пример;", std::u16string(u"При\0мер;", 8), 2,
         "control character (U+0000)"},
        {"tab in a line name", u"Кольцевая;", u"Коль\tцевая;", 6, "control character (U+0009)"},
        {"escape in a point name", u"Вторая;", u"Вто\x1Bрая;", 9, "control character (U+001B)"},
        {"C1 control in a label", u"Первая;24;", u"Пер\x85вая;24;", 8,
         "control character (U+0085)"},
        {"delete in a point name", u"Третья;", u"Третья\x7F;", 10, "control character (U+007F)"},
        {"high half at the end", u"Вторая;", u"Вторая" + high + u";", 9, "surrogate pair (U+D83D)"},
        {"low half alone", u"Кольцевая;", low + u"Кольцевая;", 6, "surrogate pair (U+DE87)"},
        {"halves in the wrong order", u"Третья;", low + high + u";", 10, "surrogate pair (U+DE87)"},
        {"NUL as a tab letter", u"\r\nВ\r\n", std::u16string(u"\r\n\0\r\n", 5), 14, "U+0000"},
        {"half a pair as a tab letter", u"\r\nП\r\n", u"\r\n" + high + low + u"\r\n", 15, "U+D83D"},
    };
    for (const Case& c : cases) {
        std::u16string text = ExampleText();
        text.replace(text.find(c.from), c.from.size(), c.to);
        const MapError error = RefusalOf(text);
        EXPECT_EQ(error.line, c.line) << c.what;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
    }

    NetworkModel paired;
    std::u16string text = ExampleText();
    text.replace(text.find(u"Вторая;"), 7, u"Вторая " + high + low + u";");
    ASSERT_EQ(LoadText(paired, text), 0);
    EXPECT_EQ(paired.Stations()[1]->name, u"Вторая \U0001F687");
}

TEST(MapParser, MessagesQuoteFieldsShortAndWithoutControlCharacters) {
    std::u16string text = ExampleText();
    text.replace(text.find(u"0;0;3;4;1;"), 10,
                 u"0;\x1B[2J" + std::u16string(100, u'9') + u";3;4;1;");
    const MapError error = RefusalOf(text);
    EXPECT_EQ(error.reason.find('\x1B'), std::string::npos) << error.reason;
    EXPECT_NE(error.reason.find("'<U+001B>[2J99"), std::string::npos) << error.reason;
    EXPECT_LT(error.reason.size(), 110u) << error.reason;
}

// One line of `count` shape points in a row.
std::u16string MapOfPoints(std::int32_t count) {
    const std::string head =
        "[NAME]\r\nБольшая;1;0;\r\n[MAP]\r\n0;0;1;1;1;0h;\r\n[LINES]\r\n1;Линия;0h;0;" +
        std::to_string(count) + ";\r\n[STATION]\r\n";
    std::string text = head;
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
    EXPECT_EQ(model.name, longName.substr(0, 99));
    EXPECT_EQ(model.Stations()[0]->name.size(), 99u);
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

TEST(MapParser, HeadersAreKnownByTheirFirstCharacter) {
    // Any '[' or a capital of the next header's name ends a run of records.
    std::u16string text = TwoLineText(u"1;20;10;22;12;4;\r\n");
    text.replace(text.find(u"[STATION]"), 9, u"STATION]");
    text.replace(text.find(u"[CROSS]"), 7, u"CROSS]");
    text.replace(text.find(u"[TABLETTERS]"), 12, u"TABLETTERS]");
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadText(model, text, &error), 0) << error.reason;
    EXPECT_EQ(model.LineCount(), 2);
    EXPECT_EQ(model.StationCount(), 4);
    EXPECT_EQ(model.TransferCount(), 1);
    EXPECT_EQ(model.tabLetters, u"А");

    std::u16string other = TwoLineText(u"1;20;10;22;12;4;\r\n");
    other.replace(other.find(u"[STATION]"), 9, u"[что угодно");
    NetworkModel bracket;
    ASSERT_EQ(LoadText(bracket, other), 0);
    EXPECT_EQ(bracket.StationCount(), 4);
}

TEST(MapParser, DeclaredCountsAllocateNothingLarge) {
    // Under the address sanitizer an allocation of this size would abort the test.
    std::u16string text = ExampleText(u"Пример;2000000000;2000000000;");
    text.replace(text.find(u"1;Кольцевая;0080FFh;1;3;"), 24, u"1;Кольцевая;0080FFh;1;2000000000;");
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadText(model, text, &error), -1);  // two billion declared transfers, none given
    EXPECT_EQ(error.line, 12);
    text.replace(text.find(u"2000000000;\r\n[MAP]"), 10, u"0");
    NetworkModel fixed;
    ASSERT_EQ(LoadText(fixed, text), 0);
    EXPECT_EQ(fixed.StationCount(), 3);
}

TEST(MapParser, InterleavedPointRecordsKeepEachLineInOrder) {
    const std::u16string text =
        MapText({u"[NAME]", u"Два;2;0;", u"[MAP]", u"0;0;3;4;1;FF00FFh;", u"[LINES]",
                 u"7;Первая;0000FFh;0;3;", u"3;Вторая;FF0000h;256;2;", u"[STATION]",
                 u"2;x;S;Б1;50;10;1;", u"1;x;S;А1;10;10;1;", u"1;x;P;А2;20;10;1;",
                 u"2;x;С;Б2;60;10;1;", u"1;x;S;А3;30;10;1;", u"[CROSS]", u"[TABLETTERS]", u"0;"});
    NetworkModel model;
    ASSERT_EQ(LoadText(model, text), 0);
    ASSERT_EQ(model.StationCount(), 5);
    const std::u16string expected[] = {u"А1", u"А2", u"А3", u"Б1", u"Б2"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(model.Stations()[i]->name, expected[i]);
    }
    EXPECT_EQ(model.Lines()[0]->number, 7);
    EXPECT_EQ(model.Lines()[1]->firstStationIndex, 3);
    EXPECT_FALSE(model.Lines()[1]->isRing);  // only the low byte of 256 is kept
    EXPECT_EQ(model.Stations()[1]->kind, kShapePointKind);
    EXPECT_EQ(model.Stations()[4]->kind, 0x21);  // Cyrillic С keeps only its low byte
    EXPECT_TRUE(model.tabLetters.empty());
}

TEST(ReadField, TakesUpToTheSemicolonAndDropsLeadingSpaces) {
    std::u16string_view line = u"  a b ;;c";
    EXPECT_EQ(ReadField(line), u"a b ");
    EXPECT_EQ(line, u";c");
    EXPECT_EQ(ReadField(line), u"");
    EXPECT_EQ(ReadField(line), std::nullopt);
    EXPECT_EQ(line, u"c");
}

}  // namespace
}  // namespace qv
