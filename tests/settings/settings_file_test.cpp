#include "settings/settings_file.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "non_regular_files.h"
#include "platform/pocket/scratch_folder.h"
#include "scoped_environment.h"
#include "text/utf.h"

// The real password entry, refused as too large for a buffer below this size.
static std::size_t passwordEntryBytes = 0;

extern "C" int getpwuid_r(uid_t uid, passwd* entry, char* buffer, size_t size, passwd** found) {
    const auto real = reinterpret_cast<decltype(&getpwuid_r)>(dlsym(RTLD_NEXT, "getpwuid_r"));
    *found = nullptr;
    return size < passwordEntryBytes ? ERANGE : real(uid, entry, buffer, size, found);
}

namespace qv {
namespace {

namespace fs = std::filesystem;

// A record in which every field differs from its default, to see what reading changes.
Settings Unusual() {
    return {.mapPath = u"/карты/старая.qvn",
            .departureIndex = 5,
            .destinationIndex = 6,
            .savedZoom = 2,
            .savedViewX = -40,
            .savedViewY = -70,
            .algorithm = 1,
            .pickerMode = 1,
            .countWaitTime = false,
            .tooltipMs = 900,
            .maxTransfers = 9,
            .showStationNames = true,
            .routeShowLine = false,
            .routeShowStations = false,
            .routeBlink = false,
            .cyrillicFont = true,
            .saveRoute = true,
            .saveZoom = true,
            .savePosition = true};
}

const char16_t* const kDefaultLines[] = {u"",  u"0", u"1", u"2000", u"0",  u"3", u"1",
                                         u"1", u"1", u"0", u"-1",   u"-1", u"0", u"0",
                                         u"0", u"0", u"1", u"0",    u"0"};

std::u16string Lines(int count, const char16_t* const* lines = kDefaultLines) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        text += lines[i];
        text += u"\r\n";
    }
    return text;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    std::string FileBytes() const {
        std::ifstream file(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    // A file a save left long ago.
    static void Leave(const fs::path& path) {
        std::ofstream(path) << "left";
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    int FileCount() const {
        return static_cast<int>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    testing::ScratchFolder scratch_;
    const fs::path folder_ = scratch_.Path();
    const fs::path path_ = folder_ / "quorvane.ini";
};

TEST_F(SettingsFileTest, RecordsAreWrittenByteForByteAndComeBackWhateverTheLineEnds) {
    ASSERT_EQ(SaveSettings(Settings{}, path_), 1);
    EXPECT_EQ(FileBytes(), EncodeUtf16Le(Lines(19)));
    Settings loaded = Unusual();
    ASSERT_EQ(LoadSettings(loaded, path_), 1);
    EXPECT_EQ(loaded, Settings{});

    Settings saved = Unusual();
    saved.mapPath = u"/" + std::u16string(1000, u'щ') + u".qvn";
    saved.savedZoom = saved.maxTransfers = 12;  // both once cut to their first digit
    ASSERT_EQ(SaveSettings(saved, path_), 1);
    ASSERT_EQ(LoadSettings(loaded, path_), 1);
    EXPECT_EQ(loaded, saved);

    // Line feeds alone, an odd trailing byte.
    std::u16string text = FormatSettingsText(Unusual());
    std::erase(text, u'\r');
    std::ofstream(path_, std::ios::binary) << EncodeUtf16Le(text) << 'x';
    loaded = Settings{};
    ASSERT_EQ(LoadSettings(loaded, path_), 1);
    EXPECT_EQ(loaded, Unusual());
}

TEST_F(SettingsFileTest, RoundTripKeepsEachFieldOnItsOwnLine) {
    // Numbers that all differ (as Unusual has them), and each switch once alone on and once alone
    // off: two fields written in each other's place cannot come back unchanged.
    bool Settings::*const switches[] = {
        &Settings::countWaitTime,     &Settings::showStationNames, &Settings::routeShowLine,
        &Settings::routeShowStations, &Settings::routeBlink,       &Settings::cyrillicFont,
        &Settings::saveRoute,         &Settings::saveZoom,         &Settings::savePosition,
    };
    Settings numbers = Unusual();
    // The two choices, one character each, once each way round.
    for (const std::int32_t algorithm : {0, 1}) {
        numbers.algorithm = algorithm;
        numbers.pickerMode = 1 - algorithm;
        for (bool Settings::*const alone : switches) {
            for (const bool on : {true, false}) {
                Settings saved = numbers;
                for (bool Settings::*const field : switches) {
                    saved.*field = (field == alone) == on;
                }
                Settings loaded;
                ParseSettingsText(loaded, FormatSettingsText(saved));
                EXPECT_EQ(loaded, saved);
            }
        }
    }
}

TEST_F(SettingsFileTest, ShortFilesSetWhatTheirLastLineDecides) {
    // A file of the first k lines of the default file, read into an unusual record, changes each
    // field from the k given here on.
    struct Change {
        int fromLines;
        void (*apply)(Settings&);
    };
    const Change changes[] = {
        {1, [](Settings& s) { s.mapPath.clear(); }},
        {2, [](Settings& s) { s.algorithm = 0; }},
        {3, [](Settings& s) { s.countWaitTime = true; }},
        {4, [](Settings& s) { s.tooltipMs = 2000; }},
        {5, [](Settings& s) { s.showStationNames = false; }},
        // Set when reading stops at line 6, read from it later.
        {5, [](Settings& s) { s.maxTransfers = 3; }},
        {7, [](Settings& s) { s.routeShowLine = true; }},
        {7, [](Settings& s) { s.routeShowStations = true; }},
        {8, [](Settings& s) { s.routeBlink = true; }},
        {9, [](Settings& s) { s.pickerMode = 0; }},
        {10, [](Settings& s) { s.departureIndex = s.destinationIndex = -1; }},
        {12, [](Settings& s) { s.saveRoute = false; }},
        {14, [](Settings& s) { s.cyrillicFont = false; }},
        {15, [](Settings& s) { s.saveZoom = false; }},
        {16, [](Settings& s) { s.savePosition = false; }},
        {17, [](Settings& s) { s.savedZoom = 1; }},
        {18, [](Settings& s) { s.savedViewX = 0; }},
    };
    for (int k = 1; k <= 18; ++k) {
        Settings expected = Unusual();
        for (const Change& change : changes) {
            if (k >= change.fromLines) {
                change.apply(expected);
            }
        }
        Settings loaded = Unusual();
        ParseSettingsText(loaded, Lines(k));
        EXPECT_EQ(loaded, expected) << "file of " << k << " lines";
    }
    // An empty seventh line turns the route line on and stops the reading there.
    Settings empty = Unusual();
    ParseSettingsText(empty, Lines(6) + u"\r\n0\r\n");
    EXPECT_EQ(std::pair(empty.routeShowLine, empty.routeShowStations), std::pair(true, false));
    ParseSettingsText(empty, Lines(10) + u"4\r\n");
    EXPECT_EQ(empty.departureIndex, 4);  // stopped at the destination line, the departure stays
}

TEST_F(SettingsFileTest, NumbersOutsideTheirRangesAreBroughtToTheNearerEndAndNoNumberIsNone) {
    struct Case {
        int line;  // 0-based line of the file
        const char16_t* text;
        std::int32_t Settings::*field;
        std::int32_t read;
    };
    const Case cases[] = {
        // A line without a number leaves its field.
        {3, u"много", &Settings::tooltipMs, 900},
        {3, u"99", &Settings::tooltipMs, 100},
        {3, u"60001", &Settings::tooltipMs, 60000},
        {5, u"-1", &Settings::maxTransfers, 0},
        {5, u"100", &Settings::maxTransfers, 99},
        {1, u"2", &Settings::algorithm, 0},
        {9, u"-1", &Settings::pickerMode, 0},
        {9, u"2", &Settings::pickerMode, 0},
        // The one-digit zoom of older files.
        {16, u"3", &Settings::savedZoom, 3},
    };
    for (const Case& c : cases) {
        const char16_t* lines[19];
        std::copy(std::begin(kDefaultLines), std::end(kDefaultLines), lines);
        lines[c.line] = c.text;
        Settings loaded = Unusual();
        ParseSettingsText(loaded, Lines(19, lines));
        EXPECT_EQ(loaded.*c.field, c.read) << "line " << c.line + 1 << ": " << Utf16ToUtf8(c.text);
    }
    // A short file keeps what it does not reach, in range; any number but 0 turns a switch on.
    Settings damaged{.mapPath = u"/b.qvn", .countWaitTime = false, .tooltipMs = -1};
    ParseSettingsText(damaged, u"/a.qvn\r\n7\r\n-1\r\n");
    EXPECT_EQ(damaged, (Settings{.mapPath = u"/a.qvn", .tooltipMs = 100}));
}

TEST_F(SettingsFileTest, MapPathWithALineBreakIsRememberedNowhereAndTheRestIsSaved) {
    Settings expected = Unusual();
    expected.mapPath.clear();
    for (const std::u16string mapPath : {u"/a\nb.qvn", u"/a\rb.qvn", u"\r\n"}) {
        Settings settings = Unusual();
        settings.mapPath = mapPath;
        ASSERT_EQ(SaveSettings(settings, path_), 1);
        ASSERT_EQ(LoadSettings(settings, path_), 1);
        EXPECT_EQ(settings, expected);
    }
}

TEST_F(SettingsFileTest, WhatIsNotARegularFileOrCannotHoldOneFailsCleanlyAndLeavesTheRecord) {
    const fs::path fifo = folder_ / "fifo.ini";
    const fs::path socketPath = folder_ / "socket.ini";
    const testing::NonRegularFiles made(fifo, socketPath);
    ASSERT_TRUE(made.Made());
    fs::create_directories(path_);
    std::ofstream(folder_ / "file") << "x";

    ::alarm(20);  // a load that waits for a writer ends the test instead of hanging it
    for (const fs::path& path :
         {path_, fifo, socketPath, fs::path("/dev/null"), folder_ / "none"}) {
        Settings loaded = Unusual();
        EXPECT_EQ(LoadSettings(loaded, path), 0) << path;
        EXPECT_EQ(loaded, Unusual()) << path;
    }
    ::alarm(0);
    const fs::path paths[] = {
        fs::path(),
        path_,                                             // a folder where the file should be
        folder_ / "file" / "quorvane.ini",                 // a file where a folder should be
        folder_ / std::string(300, 'n') / "quorvane.ini",  // a name too long for the system
        folder_ / std::string(300, 'n'),
    };
    for (const fs::path& path : paths) {
        EXPECT_NO_THROW({
            EXPECT_EQ(SaveSettings(Unusual(), path), 0) << path;
            Settings loaded = Unusual();
            EXPECT_EQ(LoadSettings(loaded, path), 0) << path;
            EXPECT_EQ(loaded, Unusual());
        });
    }
    EXPECT_EQ(FileCount(), 4);
}

TEST_F(SettingsFileTest, StaleTemporariesOfOurOwnPatternAreRemovedAtTheNextSave) {
    const std::string stale[] = {"quorvane.ini.save-Ab12Cd", "quorvane.ini.save-000000",
                                 "quorvane.ini.save-zzzzzz"};
    const std::string kept[] = {"quorvane.ini.backup",      "quorvane.ini.save-Ab12Cd7",
                                "quorvane.ini.save-Ab-2Cd", "other.ini.save-Ab12Cd",
                                "quorvane.ini.save-Live01", "quorvane.ini.Ab12Cd"};
    const auto leave = [&](const std::string& name) { Leave(folder_ / name); };
    std::ranges::for_each(stale, leave);
    std::ranges::for_each(kept, leave);
    // A fresh one may be a save that has not locked it yet.
    std::ofstream(folder_ / "quorvane.ini.save-Fresh1") << "a save about to lock it";
    ASSERT_EQ(::mkfifo((folder_ / "quorvane.ini.save-Pipe01").c_str(), 0600), 0);
    fs::create_directories(folder_ / "quorvane.ini.save-Dir001");
    // A save that is still writing holds its temporary's lock.
    const int live = ::open((folder_ / "quorvane.ini.save-Live01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    const fs::path working = fs::current_path();
    fs::current_path(folder_);
    EXPECT_EQ(SaveSettings(Unusual(), "quorvane.ini"), 1);  // named without a folder
    fs::current_path(working);
    ::close(live);
    for (const std::string& name : stale) {
        EXPECT_FALSE(fs::exists(folder_ / name)) << name;
    }
    // With the stale ones gone, the count leaves room for every other file and nothing new.
    EXPECT_EQ(FileCount(), 1 + 6 + 2 + 1);
}

TEST_F(SettingsFileTest, LinkedFileIsReplacedAtItsTargetAndTheLinksKept) {
    fs::create_directories(folder_ / "dotfiles");
    const fs::path target = folder_ / "dotfiles" / "quorvane.ini";
    fs::create_symlink("dotfiles/quorvane.ini", path_);
    fs::create_symlink("quorvane.ini", folder_ / "chain.ini");  // a link to the link
    ASSERT_EQ(SaveSettings(Settings{}, path_), 1);              // the target did not exist yet

    Leave(folder_ / "dotfiles" / "quorvane.ini.save-Ab12Cd");
    ASSERT_EQ(SaveSettings(Unusual(), folder_ / "chain.ini"), 1);
    EXPECT_EQ(fs::read_symlink(path_), "dotfiles/quorvane.ini");
    EXPECT_EQ(fs::read_symlink(folder_ / "chain.ini"), "quorvane.ini");
    Settings loaded;
    ASSERT_EQ(LoadSettings(loaded, target), 1);
    EXPECT_EQ(loaded, Unusual());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "dotfiles"), fs::directory_iterator()),
              1);
    EXPECT_EQ(FileCount(), 3);  // the two links and the folder of the target

    fs::create_symlink("loop-b.ini", folder_ / "loop-a.ini");
    fs::create_symlink("loop-a.ini", folder_ / "loop-b.ini");
    EXPECT_EQ(SaveSettings(Unusual(), folder_ / "loop-a.ini"), 0);
    EXPECT_TRUE(fs::is_symlink(folder_ / "loop-a.ini"));
}

TEST_F(SettingsFileTest, PathFollowsTheConfigurationFolderOrTheHomeAndIsCreated) {
    testing::ScopedEnvironment environment;
    environment.Set("XDG_CONFIG_HOME", folder_.string());
    EXPECT_EQ(GetSettingsPath(), folder_ / "quorvane" / "quorvane.ini");
    EXPECT_EQ(SaveSettings(Unusual()), 1);
    EXPECT_TRUE(fs::exists(folder_ / "quorvane" / "quorvane.ini"));
    environment.Set("XDG_CONFIG_HOME", "relative/ignored");
    environment.Set("HOME", "/home/someone");
    EXPECT_EQ(GetSettingsPath(), fs::path("/home/someone/.config/quorvane/quorvane.ini"));
    // Without home variables the password database names the home.
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const fs::path expected =
        entry->pw_dir[0] == '/' ? fs::path(entry->pw_dir) / ".config" / "quorvane" / "quorvane.ini"
                                : fs::path();
    environment.Unset("XDG_CONFIG_HOME");
    environment.Set("TMPDIR", "/no/such/folder");
    environment.Unset("HOME");
    EXPECT_EQ(GetSettingsPath(), expected);
    passwordEntryBytes = 64 << 10;  // past the first buffer offered, within the most read
    EXPECT_EQ(GetSettingsPath(), expected);
    passwordEntryBytes = 0;
    environment.Set("HOME", "relative");
    EXPECT_EQ(GetSettingsPath(), expected);
}

}  // namespace
}  // namespace qv
