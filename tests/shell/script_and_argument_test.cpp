// The headless runner's script reading and the program's map argument.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>
#include <vector>

#include "headless/monkey_events.h"
#include "headless/monkey_log.h"
#include "headless/script.h"
#include "platform/host/virtual_keys.h"
#include "shell/map_argument_uri.h"
#include "text/utf.h"

namespace qv {
namespace {

using tools::ParseKey;
using tools::ParseScript;
using tools::ScriptError;
using tools::ScriptStep;

TEST(ScriptKeys, ModifiersAndNames) {
    EXPECT_EQ(ParseKey("Alt+F4").value().virtualKey, VK_F1 + 3);
    EXPECT_EQ(ParseKey("Alt+F4").value().modifiers, (KeyModifiers{false, true, false}));
    EXPECT_EQ(ParseKey("ctrl+h").value().modifiers, (KeyModifiers{.control = true}));
    EXPECT_EQ(ParseKey("shift+tab").value().virtualKey, VK_TAB);
    EXPECT_EQ(ParseKey("f12").value().virtualKey, VK_F1 + 11);
    EXPECT_EQ(ParseKey("pageup").value().virtualKey, VK_PRIOR);
    EXPECT_EQ(ParseKey("PageDown").value().virtualKey, VK_NEXT);
    // A "+" key alone is not a modifier list; unknown names and modifiers are refused.
    for (const char* bad : {"hyper+a", "f13", "ctrl+", ""}) {
        EXPECT_FALSE(ParseKey(bad)) << bad;
    }
}

TEST(ScriptLines, ALetterOrDigitKeyTypesAsAKeyboardDoes) {
    const auto typed = [](const char* line) {
        const auto parsed = ParseScript(line);
        std::u16string text;
        for (const ScriptStep& step : std::get<std::vector<ScriptStep>>(parsed)) {
            const InputEvent& event = std::get<tools::InputStep>(step).event;
            if (event.kind == InputEvent::Kind::Character) {
                text += event.character;
            }
        }
        return text;
    };
    EXPECT_EQ(typed("key o\nkey shift+o\nkey 7\n"), u"oO7");
    // No text with control or alt, for shift and a digit, or for a key that is not a letter.
    EXPECT_EQ(typed("key ctrl+o\nkey alt+f\nkey shift+7\nkey f1\nkey space\n"), u"");
    // The text comes between the key's press and its release.
    const auto steps = std::get<std::vector<ScriptStep>>(ParseScript("key z\n"));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(std::get<tools::InputStep>(steps[0]).event.kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(std::get<tools::InputStep>(steps[1]).event.character, u'z');
    EXPECT_EQ(std::get<tools::InputStep>(steps[2]).event.kind, InputEvent::Kind::KeyUp);
}

TEST(ScriptLines, StepsInOrderAndTheFirstBadLine) {
    const auto parsed = ParseScript(
        "# a comment\r\n\ntap 10 20\r\nwait 5 # rest\ncommand ID_EXIT\n"
        "type a#b\nstate\nhold 3 4 700\n");
    const auto& steps = std::get<std::vector<ScriptStep>>(parsed);
    // tap: down, 50 ms, up; then the wait, the command, two characters, the state and a hold.
    ASSERT_EQ(steps.size(), 12u);
    EXPECT_EQ(std::get<tools::InputStep>(steps[0]).event.kind, InputEvent::Kind::PenDown);
    EXPECT_EQ(std::get<tools::AdvanceStep>(steps[1]).duration, HostTime(50));
    EXPECT_EQ(std::get<tools::InputStep>(steps[2]).event.position.y, 20);
    EXPECT_EQ(std::get<tools::AdvanceStep>(steps[3]).duration, HostTime(5));
    EXPECT_EQ(std::get<tools::CommandStep>(steps[4]).id, 1004);
    EXPECT_EQ(std::get<tools::InputStep>(steps[6]).event.character, u'#');
    EXPECT_TRUE(std::holds_alternative<tools::StateStep>(steps[8]));
    EXPECT_EQ(std::get<tools::AdvanceStep>(steps[10]).duration, HostTime(700));

    // Bad wheel and drop lines too, which the program's tests cannot show.
    for (const char* bad :
         {"tap 1\n", "wait -1\n", "key hyper\n", "command ID_NOPE\n", "shot\n", "state now\n",
          "jump 1 2\n", "drag 1 2 3\n", "tap 10 20 30\n", "wheel 1\n", "wheel 1 2 alt\n",
          "wheel 1 2 ctrl shift\n", "wheel 1 1001\n", "wheel x 1\n", "drop\n", "drop   \n"}) {
        const auto failed = ParseScript(std::string("state\n") + bad);
        const auto* error = std::get_if<ScriptError>(&failed);
        EXPECT_EQ(error ? error->line : 0, 2) << bad;
    }
}

TEST(ScriptLines, ADragMovesThePenToItsEndBeforeLiftingIt) {
    // Off the screen's left or top is a place a pen can start.
    const auto parsed = ParseScript("drag -100 0 0 50\n");
    std::vector<std::tuple<InputEvent::Kind, int, int>> pen;
    for (const ScriptStep& step : std::get<std::vector<ScriptStep>>(parsed)) {
        if (const auto* input = std::get_if<tools::InputStep>(&step)) {
            pen.emplace_back(input->event.kind, input->event.position.x, input->event.position.y);
        }
    }
    using enum InputEvent::Kind;
    const decltype(pen) expected{{PenDown, -100, 0}, {PenMove, -80, 10}, {PenMove, -60, 20},
                                 {PenMove, -40, 30}, {PenMove, -20, 40}, {PenMove, 0, 50},
                                 {PenUp, 0, 50}};
    EXPECT_EQ(pen, expected);
}

// A dropped file's path, which the program's tests cannot show.
TEST(ScriptLines, ADropTakesTheRestOfTheLineAsItsPath) {
    const auto parsed = ParseScript("drop /m/a b#1.qvn\ndrop rel.qvn\n");
    const auto& steps = std::get<std::vector<ScriptStep>>(parsed);
    ASSERT_EQ(steps.size(), 2u);
    // The whole rest of the line, "#" and spaces too; a relative path from the working folder.
    EXPECT_EQ(std::get<tools::InputStep>(steps[0]).event.path, u"/m/a b#1.qvn");
    EXPECT_EQ(std::get<tools::InputStep>(steps[1]).event.path,
              Utf8ToUtf16((std::filesystem::current_path() / "rel.qvn").string()).value());
}

TEST(MonkeyLog, AFailureShowsTheLastTwentyEvents) {
    tools::MonkeyLog log(7, std::nullopt, "");
    for (int event = 1; event <= 25; ++event) {
        log.Add("wait " + std::to_string(event));
    }
    ::testing::internal::CaptureStderr();
    log.Report("test");
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("# the last 20 events, as a script:\nwait 6\n"), std::string::npos);
    EXPECT_TRUE(report.ends_with("\nwait 25\n")) << report;
    // A later start of the program shows only its own events.
    log.Started(2);
    log.Add("key escape");
    ::testing::internal::CaptureStderr();
    log.Report("test");
    EXPECT_TRUE(::testing::internal::GetCapturedStderr().ends_with(
        "in start 2 of the program\n# the last 1 events, as a script:\nkey escape\n"));
}

TEST(MonkeyEvents, PlaysTheFirstAndLastKeysAndTheExitKeys) {
    tools::MonkeyEvents events(7);
    std::set<std::string> keys;
    for (int i = 0; i < 50000; ++i) {
        if (const std::string line = events.Next(); line.starts_with("key ")) {
            keys.insert(line.substr(4));
        }
    }
    for (const char* key : {"escape", "alt+f", "ctrl+q", "alt+f4"}) {
        EXPECT_TRUE(keys.contains(key)) << key;
    }
}

TEST(MapArgument, PathsAndFileUris) {
    EXPECT_EQ(MapArgumentPath("maps/kyiv.qvn"), "maps/kyiv.qvn");
    EXPECT_EQ(MapArgumentPath("file:///home/a/%D0%9A%20x.qvn"), "/home/a/К x.qvn");
    EXPECT_EQ(MapArgumentPath("file:///a%2fb%2Fc%4A%6a%7e.qv%6E"), "/a/b/cJj~.qvn");
    EXPECT_EQ(MapArgumentPath("FILE://localhost/m.qvn"), "/m.qvn");
    for (const char* refused : {"file://other/m.qvn", "https://example.org/m.qvn", "file:///m%2",
                                "file:///m%00.qvn", "file:///m%zz"}) {
        EXPECT_FALSE(MapArgumentPath(refused)) << refused;
    }
}

}  // namespace
}  // namespace qv
