// The wheel and a file dropped on the window, through quorvane-headless scripts in a scratch
// home, checked on the state and the screen the program shows.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "model/map_file.h"
#include "program_home.h"
#include "text/utf.h"

namespace qv {
namespace {

constexpr int kStep = 20;  // pixels a notch

std::string MapName(const std::string& file) {
    NetworkModel model;
    EXPECT_EQ(LoadMapFile(model, Utf8ToUtf16((kMaps / file).string()).value(), Settings{}), 0);
    return Utf16ToUtf8(model.name);
}

json View(const json& state) {
    return state["model"]["view"];
}

json At(int x, int y) {
    return json::array({x, y});
}

std::string WindowText(const json& state) {
    return WindowOf(state, "QuorvaneWnd")["text"];
}

TEST(Wheel, PansAZoomedSchemeByWholeStepsAndLeavesAnUnzoomedOne) {
    const Home home;
    const Outcome outcome = home.Run(
        "wheel 0 1\nwheel 1 0\nwheel 0 1 shift\nstate\n"
        "command ID_SCALE\nstate\n"
        "wheel 0 1\nstate\nwheel 0 -3\nstate\nwheel 0 2 shift\nstate\nwheel 1 0\nstate\n"
        "wheel -2 1\nstate\n",
        (kMaps / "example.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 7u);
    EXPECT_EQ(View(outcome.states[0]), At(0, 0));
    const json& zoomed = outcome.states[1];
    ASSERT_TRUE(zoomed["model"]["zoomed"]);
    const int x = View(zoomed)[0];
    const int y = View(zoomed)[1];
    // Up shows what lies above, as a drag downwards does; shift turns it sideways; a wheel
    // turned to the right shows what lies to the right.
    EXPECT_EQ(View(outcome.states[2]), At(x, y + kStep));
    EXPECT_EQ(View(outcome.states[3]), At(x, y - 2 * kStep));
    EXPECT_EQ(View(outcome.states[4]), At(x + 2 * kStep, y - 2 * kStep));
    EXPECT_EQ(View(outcome.states[5]), At(x + kStep, y - 2 * kStep));
    EXPECT_EQ(View(outcome.states[6]), At(x + 3 * kStep, y - kStep));
    // Nothing else changes: no station is picked, the scale stays.
    for (const json& state : outcome.states) {
        EXPECT_TRUE(state["model"]["hotStation"].is_null());
    }
    EXPECT_TRUE(outcome.states[6]["model"]["zoomed"]);
}

TEST(Wheel, TheSchemeOnScreenMovesByTheStep) {
    const Home home;
    const Outcome outcome = home.Run(
        "command ID_SCALE\nwait 10\nshot before.png\nwheel 0 1\nwait 10\nshot down.png\n"
        "wheel 0 -1\nwheel 0 1 shift\nwait 10\nshot right.png\n",
        (kMaps / "zarechensk.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    const std::vector<std::uint32_t> before = ShotPixels(home.Root() / "before.png");
    const std::vector<std::uint32_t> down = ShotPixels(home.Root() / "down.png");
    const std::vector<std::uint32_t> right = ShotPixels(home.Root() / "right.png");
    ASSERT_EQ(before.size(), 240u * 320u);
    ASSERT_EQ(down.size(), before.size());
    ASSERT_EQ(right.size(), before.size());
    // The work area between the shell's bars, rows 26 to 293.
    int movedDown = 0;
    int movedRight = 0;
    int changed = 0;
    for (int row = 26 + kStep; row < 294; ++row) {
        for (int column = 0; column < 240; ++column) {
            movedDown += down[row * 240 + column] != before[(row - kStep) * 240 + column];
            changed += down[row * 240 + column] != before[row * 240 + column];
        }
    }
    for (int row = 26; row < 294; ++row) {
        for (int column = kStep; column < 240; ++column) {
            movedRight += right[row * 240 + column] != before[row * 240 + column - kStep];
        }
    }
    EXPECT_EQ(movedDown, 0);
    EXPECT_EQ(movedRight, 0);
    EXPECT_GT(changed, 1000);
}

TEST(Wheel, ControlZoomsInUpAndOutDownOnlyFromTheOtherState) {
    const Home home;
    const Outcome outcome = home.Run(
        "wheel 0 -1 ctrl\nstate\nwheel 0 1 ctrl\nstate\nwheel 0 1\nwheel 0 3 ctrl\nstate\n"
        "wheel 0 -1 ctrl\nstate\nwheel 0 -1 ctrl\nstate\ncommand ID_SCALE\nstate\n",
        (kMaps / "example.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 6u);
    const auto zoomed = [&](int i) { return outcome.states[i]["model"]["zoomed"].get<bool>(); };
    EXPECT_FALSE(zoomed(0));
    EXPECT_TRUE(zoomed(1));
    EXPECT_EQ(outcome.states[1]["settings"]["savedZoom"], 2);
    // Up again keeps the zoom and the view the plain wheel moved.
    EXPECT_TRUE(zoomed(2));
    EXPECT_EQ(View(outcome.states[2]),
              At(View(outcome.states[1])[0], View(outcome.states[1])[1].get<int>() + kStep));
    EXPECT_FALSE(zoomed(3));
    EXPECT_EQ(outcome.states[3]["settings"]["savedZoom"], 1);
    EXPECT_FALSE(zoomed(4));
    // The zoom command zooms to the view the wheel did.
    EXPECT_TRUE(zoomed(5));
    EXPECT_EQ(View(outcome.states[5]), View(outcome.states[1]));
}

TEST(Drop, AMapDroppedOnTheWindowLoadsAsAChosenOne) {
    const Home home;
    const std::string dropped = (kMaps / "almaty.qvn").string();
    const Outcome outcome =
        home.Run("state\ndrop " + dropped + "\nwait 10\nstate\n", (kMaps / "example.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 2u);
    EXPECT_EQ(outcome.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(WindowText(outcome.states[0]), "Пример");
    const std::string name = MapName("almaty.qvn");
    EXPECT_EQ(outcome.states[1]["model"]["name"], name);
    EXPECT_EQ(WindowText(outcome.states[1]), name);
    EXPECT_EQ(outcome.states[1]["settings"]["mapPath"], dropped);
}

TEST(Drop, AFileThatIsNoMapSaysSoAndKeepsTheMapShown) {
    const Home home;
    std::ofstream(home.Root() / "broken.qvn") << "[NAME]\r\nX;1;0;2;2;\r\n[MAP]\r\nnonsense\r\n";
    std::ofstream(home.Root() / "notes.txt") << "not a map\n";
    for (const std::string file : {"broken.qvn", "notes.txt", "gone.qvn"}) {
        SCOPED_TRACE(file);
        const Outcome outcome = home.Run("drop " + (home.Root() / file).string() +
                                             "\nwait 10\nstate\n"
                                             "key return\nwait 10\nstate\n",
                                         (kMaps / "example.qvn").string());
        EXPECT_EQ(outcome.exitCode, 0);
        ASSERT_EQ(outcome.states.size(), 2u);
        ExpectMapNotLoadedBox(outcome.states[0]);
        const json& after = outcome.states[1];
        EXPECT_TRUE(after["messageBoxes"].empty());
        EXPECT_EQ(after["model"]["name"], "Пример");
        EXPECT_EQ(WindowText(after), "Пример");
        EXPECT_EQ(after["settings"]["mapPath"], (kMaps / "example.qvn").string());
        EXPECT_NE(outcome.errors.find(file), std::string::npos) << outcome.errors;
    }
}

TEST(Drop, AMapDroppedWhileAPageIsOpenLoadsWhenItCloses) {
    const Home home;
    const std::string dropped = (kMaps / "almaty.qvn").string();
    const Outcome outcome = home.Run("command ID_SETTINGS\nwait 10\ndrop " + dropped +
                                         "\nwait 10\nstate\nkey escape\nwait 10\nstate\n",
                                     (kMaps / "example.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 2u);
    EXPECT_EQ(outcome.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(outcome.states[1]["model"]["name"], MapName("almaty.qvn"));
    EXPECT_EQ(outcome.states[1]["settings"]["mapPath"], dropped);
}

}  // namespace
}  // namespace qv
