#include "model/map_title.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/map_file.h"
#include "non_regular_files.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class MapTitleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("qv-title-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path folder_;
};

TEST_F(MapTitleTest, EveryShippedMapHasTheTitleItsLoadGives) {
    int maps = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(QV_MAPS_DIR)) {
        if (entry.path().extension() != ".qvn") {
            continue;
        }
        ++maps;
        NetworkModel model;
        ASSERT_EQ(LoadMapFileAt(model, entry.path(), Settings{}), 0) << entry.path();
        EXPECT_EQ(ReadMapTitle(entry.path()), model.name) << entry.path();
    }
    EXPECT_GE(maps, 10);
}

TEST_F(MapTitleTest, OnlyTheStartIsRead) {
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
    const std::u16string longName(150, u'Я');
    EXPECT_EQ(ReadMapTitle(Write("long.qvn", Utf16ToUtf8(u"[NAME]\n  " + longName + u";1;0;\n"))),
              longName.substr(0, 99));
}

TEST_F(MapTitleTest, WhatDoesNotBeginAsAMapHasNoTitle) {
    const std::string broken[] = {
        "",
        "[MAP]\r\nName;1;0;\r\n",
        "[NAME]\r\nno field end\r\n",
        "[NAME]\r\n;1;0;\r\n",
        "[NAME]\r\nBell\x07;1;0;\r\n",
        "[NAME]\r\n",
        "\xFE\xFF\0[\0N",
        std::string(kMapTitleBytes * 2, 'x'),
    };
    for (const std::string& bytes : broken) {
        EXPECT_EQ(ReadMapTitle(Write("broken.qvn", bytes)), std::nullopt) << bytes;
    }
    EXPECT_EQ(ReadMapTitle(folder_ / "missing.qvn"), std::nullopt);
    EXPECT_EQ(ReadMapTitle(folder_), std::nullopt);
    // A FIFO nobody writes to is refused without waiting.
    testing::NonRegularFiles others(folder_ / "fifo.qvn", folder_ / "socket.qvn");
    ASSERT_TRUE(others.Made());
    EXPECT_EQ(ReadMapTitle(folder_ / "fifo.qvn"), std::nullopt);
    EXPECT_EQ(ReadMapTitle(folder_ / "socket.qvn"), std::nullopt);
}

}  // namespace
}  // namespace qv
