// The wheel and a file dropped on the window, through quorvane-headless scripts in a scratch
// home, checked on the state and the screen the program shows.

#include <gtest/gtest.h>

#include <string>

#include "program_home.h"

namespace qv {
namespace {

constexpr int kStep = 20;  // pixels a notch

json View(const json& state) {
    return state["model"]["view"];
}

// Up shows what lies above, as a drag downwards does; shift turns it sideways; a wheel turned to
// the right shows what lies to the right. With control, up zooms in and down out, each only from
// the other state.
TEST(Wheel, PansAZoomedSchemeByWholeStepsAndZoomsWithControl) {
    const Home home;
    struct Turn {
        const char* wheel;
        bool zoomed;
        int steps[2];  // the view's move from where the zoom put it, in steps
    };
    const Turn turns[] = {
        {"wheel 0 1\nwheel 1 0\nwheel 0 1 shift", false, {}},
        {"wheel 0 -1 ctrl", false, {}},
        {"wheel 0 1 ctrl", true, {0, 0}},
        {"wheel 0 1", true, {0, 1}},
        {"wheel 0 3 ctrl", true, {0, 1}},
        {"wheel 0 -3", true, {0, -2}},
        {"wheel 0 2 shift", true, {2, -2}},
        {"wheel 1 0", true, {1, -2}},
        {"wheel -2 1", true, {3, -1}},
        {"wheel 0 -1 ctrl", false, {}},
        // The zoom command zooms to the view the wheel did.
        {"command ID_SCALE", true, {0, 0}},
    };
    std::string script;
    for (const Turn& turn : turns) {
        script += std::string(turn.wheel) + "\nstate\n";
    }
    const Outcome outcome = home.Run(script, (kMaps / "example.qvn").string());
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), std::size(turns));
    const json zoomedAt = View(outcome.states[2]);
    for (std::size_t i = 0; i < std::size(turns); ++i) {
        const json& state = outcome.states[i];
        SCOPED_TRACE(turns[i].wheel);
        ASSERT_EQ(state["model"]["zoomed"], turns[i].zoomed);
        EXPECT_EQ(state["settings"]["savedZoom"], turns[i].zoomed ? 2 : 1);
        EXPECT_TRUE(state["model"]["hotStation"].is_null());
        if (turns[i].zoomed) {
            EXPECT_EQ(View(state),
                      json::array({zoomedAt[0].get<int>() + kStep * turns[i].steps[0],
                                   zoomedAt[1].get<int>() + kStep * turns[i].steps[1]}));
        } else {
            EXPECT_EQ(View(state), json::array({0, 0}));
        }
    }
}

// A map dropped on the window loads as a chosen one; while a page is open, once it closes.
TEST(Drop, AMapDroppedOnTheWindowLoadsAsAChosenOne) {
    const Home home;
    const std::string almaty = (kMaps / "almaty.qvn").string();
    const std::string example = (kMaps / "example.qvn").string();
    const Outcome outcome =
        home.Run("drop " + almaty + "\nwait 10\nstate\ncommand ID_SETTINGS\nwait 10\ndrop " +
                     example + "\nwait 10\nstate\nkey escape\nwait 10\nstate\n",
                 example);
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 3u);
    EXPECT_EQ(outcome.states[0]["model"]["name"], "Алматы");
    EXPECT_EQ(outcome.states[0]["settings"]["mapPath"], almaty);
    EXPECT_EQ(outcome.states[1]["model"]["name"], "Алматы");
    EXPECT_EQ(outcome.states[2]["model"]["name"], "Пример");
    EXPECT_EQ(outcome.states[2]["settings"]["mapPath"], example);
}

}  // namespace
}  // namespace qv
