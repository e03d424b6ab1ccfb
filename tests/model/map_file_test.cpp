#include "model/map_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "model/map_title.h"
#include "non_regular_files.h"
#include "platform/pocket/scratch_folder.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const std::u16string kExampleText =
    u"[NAME]\r\nПример;1;0;2;2;\r\n[MAP]\r\n0;0;3;4;1;FF00FFh;-10;\r\n[LINES]\r\n"
    u"1;Кольцевая;0080FFh;1;3;2;\r\n[STATION]\r\n1;1;S;Первая;20;20;2;Первая;24;16;1;\r\n"
    u"1;2;P;Вторая;60;20;3;\r\n1;3;S;Третья;40;60;2;\r\n[CROSS]\r\n[TABLETTERS]\r\n2;"
    u"\r\nВ\r\nП\r\n";

class MapFileTest : public ::testing::Test {
  protected:
    fs::path Write(const std::string& name, const std::string& bytes) const {
        return scratch_.Write(name, bytes);
    }

    testing::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.Path();
};

// The example map: one ring of three stations.
TEST_F(MapFileTest, EveryEncodingAndLineEndGivesTheSameNetworkAndOthersAreRefused) {
    const std::string utf8 = Utf16ToUtf8(kExampleText);
    std::string newlines = utf8;
    std::erase(newlines, '\r');
    for (const std::string& bytes :
         {"\xFF\xFE" + EncodeUtf16Le(kExampleText), EncodeUtf16Le(kExampleText),
          "\xEF\xBB\xBF" + utf8, utf8, newlines}) {
        NetworkModel model;
        MapError error;
        ASSERT_EQ(LoadMapFileAt(model, Write("map.qvn", bytes), Settings{}, &error), 0)
            << error.reason;
        EXPECT_EQ(model.name, u"Пример");
        EXPECT_EQ(model.tabLetters, u"ВП");
        ASSERT_EQ(model.LineCount(), 1);
        const Line& line = *model.Lines()[0];
        EXPECT_EQ(line.name, u"Кольцевая");
        EXPECT_EQ(std::pair(line.isRing, line.waitTime), std::pair(true, 2));
        ASSERT_EQ(model.StationCount(), 3);
        EXPECT_EQ(model.Stations()[2]->line, &line);
        EXPECT_EQ(model.Stations()[2]->name, u"Третья");
        EXPECT_EQ(model.Stations()[1]->runTime, 3);
    }

    std::string bigEndian = "\xFE\xFF";
    for (const char16_t c : kExampleText) {
        bigEndian += static_cast<char>(c >> 8);
        bigEndian += static_cast<char>(c & 0xFF);
    }
    const std::string refused[] = {
        bigEndian,
        "\xFF\xFE" + EncodeUtf16Le(kExampleText) + "x",  // odd number of bytes
        utf8 + "\xC3",                                   // broken UTF-8
        "",
        std::string("\x00\x01\x02\x03", 4),
    };
    for (const std::string& bytes : refused) {
        NetworkModel model;
        MapError error;
        EXPECT_EQ(LoadMapFileAt(model, Write("bad.qvn", bytes), Settings{}, &error), -1);
        EXPECT_FALSE(error.reason.empty());
    }
}

TEST_F(MapFileTest, OnlyRegularFilesAreReadAndNothingWaitsForAPeer) {
    const fs::path fifo = folder_ / "fifo.qvn";
    const fs::path socketPath = folder_ / "socket.qvn";
    const testing::NonRegularFiles made(fifo, socketPath);
    ASSERT_TRUE(made.Made());
    const std::pair<fs::path, const char*> cases[] = {
        {folder_ / "none.qvn", "No such file"},
        {folder_, "folder"},
        {fifo, "FIFO"},
        {socketPath, "socket"},
        {"/dev/null", "device"},
    };
    ::alarm(20);  // a load that waits for a writer ends the test instead of hanging it
    for (const auto& [path, reason] : cases) {
        NetworkModel model;
        MapError error;
        EXPECT_EQ(LoadMapFileAt(model, path, Settings{}, &error), -1) << path;
        EXPECT_EQ(error.line, 0);
        EXPECT_NE(error.reason.find(reason), std::string::npos) << path << ": " << error.reason;
        EXPECT_EQ(ReadMapTitle(path), std::nullopt) << path;
    }
    ::alarm(0);
}

TEST_F(MapFileTest, AMapOfExactlyTheLargestSizeLoadsAndOneByteMoreIsRefused) {
    // Daggers (U+2020) after the last tab letter fill the file; a byte lost would leave it odd.
    std::string bytes = "\xFF\xFE" + EncodeUtf16Le(kExampleText);
    const std::size_t largest = std::size_t{64} << 20;
    bytes.resize(largest, '\x20');
    const fs::path path = Write("largest.qvn", bytes);
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadMapFileAt(model, path, Settings{}, &error), 0) << error.reason;
    EXPECT_EQ(model.tabLetters, u"ВП");

    fs::resize_file(path, largest + 1);
    NetworkModel larger;
    EXPECT_EQ(LoadMapFileAt(larger, path, Settings{}, &error), -1);
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.reason, "the file is too large for a map (more than 64 MB)");
}

TEST_F(MapFileTest, OnlyTheStartIsReadForTheTitleAndWhatDoesNotBeginAsAMapHasNone) {
    // A character cut by the end of the part read, and anything after it, do not matter.
    std::string utf8 = "[NAME]\r\nНовая сеть;1;0;\r\n[MAP]\r\n";
    while (utf8.size() < kMapTitleBytes) {
        utf8 += "Ж";
    }
    ASSERT_EQ(utf8.size(), kMapTitleBytes + 1);
    utf8 += std::string("\xFF\xFE\xC3", 3) + std::string(10000, '\0');
    EXPECT_EQ(ReadMapTitle(Write("utf8.qvn", utf8)), u"Новая сеть");

    std::u16string utf16 = u"[NAME]\r\nДлинная;2;0;\r\n[MAP]\r\n";
    utf16.append(kMapTitleBytes, u'Щ');
    EXPECT_EQ(ReadMapTitle(Write("utf16.qvn", "\xFF\xFE" + EncodeUtf16Le(utf16) + "\xD8")),
              u"Длинная");
    // Spaces before the name go, as the parser drops them; a long name is cut as it cuts it.
    for (const std::size_t before : {98u, 99u}) {
        const std::u16string name = std::u16string(before, u'Я') + u"😀" + std::u16string(50, u'Я');
        EXPECT_EQ(ReadMapTitle(Write("long.qvn", Utf16ToUtf8(u"[NAME]\n  " + name + u";1;0;\n"))),
                  name.substr(0, before));
    }

    const std::string broken[] = {"[MAP]\r\nName;1;0;\r\n", "[NAME]\r\nno field end\r\n",
                                  "[NAME]\r\n;1;0;\r\n",    "[NAME]\r\n",
                                  "\xFE\xFF\0[\0N",         std::string(kMapTitleBytes * 2, 'x')};
    for (const std::string& bytes : broken) {
        EXPECT_EQ(ReadMapTitle(Write("broken.qvn", bytes)), std::nullopt) << bytes;
    }
    // A name's line may end the file unbroken; a control character (C0, DEL, C1) in it leaves none.
    const std::pair<char16_t, bool> characters[] = {{0x01, false}, {0x1F, false}, {0x20, true},
                                                    {0x7E, true},  {0x7F, false}, {0x80, false},
                                                    {0x9F, false}, {0xA0, true}};
    for (const auto& [c, titled] : characters) {
        const std::u16string name = u"A" + std::u16string(1, c) + u"B";
        const std::string bytes = Utf16ToUtf8(u"[NAME]\r\n" + name + u";1;0;");
        EXPECT_EQ(ReadMapTitle(Write("named.qvn", bytes)),
                  titled ? std::optional(name) : std::nullopt)
            << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace qv
