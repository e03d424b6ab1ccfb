#include "model/map_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "non_regular_files.h"
#include "text/utf.h"

namespace qv {
namespace {

const std::u16string kExampleText =
    u"[NAME]\r\nПример;1;0;2;2;\r\n[MAP]\r\n0;0;3;4;1;FF00FFh;-10;\r\n[LINES]\r\n"
    u"1;Кольцевая;0080FFh;1;3;2;\r\n[STATION]\r\n1;1;S;Первая;20;20;2;Первая;24;16;1;\r\n"
    u"1;2;P;Вторая;60;20;3;\r\n1;3;S;Третья;40;60;2;\r\n[CROSS]\r\n[TABLETTERS]\r\n2;"
    u"\r\nВ\r\nП\r\n";

class MapFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("qv-map-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::u16string Write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return *Utf8ToUtf16(path.string());
    }

    std::filesystem::path folder_;
};

TEST_F(MapFileTest, ShippedExampleLoads) {
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadMapFile(model, *Utf8ToUtf16(QV_MAPS_DIR "/example.qvn"), Settings{}, &error), 0)
        << error.reason;
    EXPECT_EQ(model.name, u"Пример");
    EXPECT_EQ(model.StationCount(), 3);
    EXPECT_EQ(model.tabLetters, u"ВП");
}

TEST_F(MapFileTest, EveryEncodingGivesTheSameNetwork) {
    const std::string utf8 = Utf16ToUtf8(kExampleText);
    const std::string variants[] = {
        "\xFF\xFE" + EncodeUtf16Le(kExampleText),
        EncodeUtf16Le(kExampleText),
        "\xEF\xBB\xBF" + utf8,
        utf8,
    };
    for (const std::string& bytes : variants) {
        NetworkModel model;
        MapError error;
        ASSERT_EQ(LoadMapFile(model, Write("map.qvn", bytes), Settings{}, &error), 0)
            << error.reason;
        EXPECT_EQ(model.name, u"Пример");
        ASSERT_EQ(model.StationCount(), 3);
        EXPECT_EQ(model.Stations()[2]->name, u"Третья");
    }
}

TEST_F(MapFileTest, OtherEncodingsAndDamagedFilesAreRefused) {
    std::string bigEndian = "\xFE\xFF";
    for (const char16_t c : kExampleText) {
        bigEndian += static_cast<char>(c >> 8);
        bigEndian += static_cast<char>(c & 0xFF);
    }
    const std::string refused[] = {
        bigEndian,
        "\xFF\xFE" + EncodeUtf16Le(kExampleText) + "x",  // odd number of bytes
        Utf16ToUtf8(kExampleText) + "\xC3",              // broken UTF-8
        "",
        std::string("\x00\x01\x02\x03", 4),
    };
    for (const std::string& bytes : refused) {
        NetworkModel model;
        MapError error;
        EXPECT_EQ(LoadMapFile(model, Write("bad.qvn", bytes), Settings{}, &error), -1);
        EXPECT_FALSE(error.reason.empty());
    }
}

TEST_F(MapFileTest, OnlyRegularFilesAreReadAndNothingWaitsForAPeer) {
    const std::filesystem::path fifo = folder_ / "fifo.qvn";
    const std::filesystem::path socketPath = folder_ / "socket.qvn";
    const testing::NonRegularFiles made(fifo, socketPath);
    ASSERT_TRUE(made.Made());

    struct Case {
        std::filesystem::path path;
        const char* reason;
    };
    const Case cases[] = {
        {folder_ / "none.qvn", "No such file"},
        {folder_, "folder"},
        {fifo, "FIFO"},
        {socketPath, "socket"},
        {"/dev/null", "device"},
    };
    ::alarm(20);  // a load that waits for a writer ends the test instead of hanging it
    for (const Case& c : cases) {
        NetworkModel model;
        MapError error;
        EXPECT_EQ(LoadMapFileAt(model, c.path, Settings{}, &error), -1) << c.path;
        EXPECT_EQ(error.line, 0);
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.path << ": " << error.reason;
    }
    ::alarm(0);
}

TEST_F(MapFileTest, AMapOfExactlyTheLargestSizeLoadsAndOneByteMoreIsRefused) {
    // Lines after the last tab letter are not read: daggers (U+2020, bytes 20 20) fill the file
    // to the size. A byte lost would leave UTF-16 text of an odd length.
    std::string bytes = "\xFF\xFE" + EncodeUtf16Le(kExampleText);
    const std::size_t largest = std::size_t{64} << 20;
    bytes.resize(largest, '\x20');
    const std::u16string path = Write("largest.qvn", bytes);
    NetworkModel model;
    MapError error;
    ASSERT_EQ(LoadMapFile(model, path, Settings{}, &error), 0) << error.reason;
    EXPECT_EQ(model.tabLetters, u"ВП");

    std::filesystem::resize_file(folder_ / "largest.qvn", largest + 1);
    NetworkModel larger;
    EXPECT_EQ(LoadMapFile(larger, path, Settings{}, &error), -1);
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(error.reason, "the file is too large for a map (more than 64 MB)");
}

TEST_F(MapFileTest, AnyFileNameTheSystemAcceptsLoads) {
    // Not UTF-8, and a line break in the name.
    const std::filesystem::path path = folder_ / "\xFF\xFE\nкарта.qvn";
    std::ofstream(path, std::ios::binary) << Utf16ToUtf8(kExampleText);
    NetworkModel model;
    ASSERT_EQ(LoadMapFileAt(model, path, Settings{}), 0);
    EXPECT_EQ(model.StationCount(), 3);
}

TEST_F(MapFileTest, AdoptsTheSettingsAndRestoresSavedEndsOnlyWhenAsked) {
    Settings settings;
    settings.mapPath = u"/some/where.qvn";
    settings.departureIndex = 1;  // a shape point: restored all the same
    settings.destinationIndex = 2;
    settings.maxTransfers = 7;

    NetworkModel notSaved;
    ASSERT_EQ(LoadMapFile(notSaved, Write("map.qvn", Utf16ToUtf8(kExampleText)), settings), 0);
    EXPECT_EQ(notSaved.settings, settings);
    EXPECT_EQ(notSaved.departure, nullptr);
    EXPECT_EQ(notSaved.destination, nullptr);
    EXPECT_EQ(notSaved.hotStation, nullptr);

    settings.saveRoute = true;
    NetworkModel saved;
    ASSERT_EQ(LoadMapFile(saved, Write("map.qvn", Utf16ToUtf8(kExampleText)), settings), 0);
    EXPECT_EQ(saved.departure, saved.Stations()[1]);
    EXPECT_EQ(saved.destination, saved.Stations()[2]);
}

}  // namespace
}  // namespace qv
