// The whole program through its entry routine, driven by quorvane-headless scripts in a scratch
// home, checked on the state it reports.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/map_file.h"
#include "platform/pocket/menu_bar_layout.h"
#include "platform/pocket/shell_layout.h"
#include "program_home.h"
#include "render/scheme_view.h"
#include "resources/main_toolbar.h"
#include "route/route_finder.h"
#include "settings/settings_file.h"
#include "text/utf.h"

namespace qv {
namespace {

// A loaded map of the test's own, to find where stations are and what the route finder says.
struct Map {
    explicit Map(const std::string& name) : path((kMaps / name).string()) {
        EXPECT_EQ(LoadMapFile(model, Utf8ToUtf16(path).value(), Settings{}), 0);
    }
    // A tap position that hits the station and nothing before it.
    std::string TapAt(int index) const {
        const Station& s = *model.Stations()[index];
        const int x = model.originX + s.x;
        const int y = model.originY + s.y;
        EXPECT_EQ(HitTest(model, x, y), &s);
        return std::to_string(x) + " " + std::to_string(y);
    }
    // Stations that a tap at their centre hits, inside the screen.
    std::vector<int> Tappable() const {
        std::vector<int> found;
        for (const Station* s : model.Stations()) {
            const int x = model.originX + s->x;
            const int y = model.originY + s->y;
            if (s->IsStation() && x >= 0 && y >= 28 && x < 240 && y < 290 &&
                HitTest(model, x, y) == s) {
                found.push_back(s->index);
            }
        }
        return found;
    }
    std::vector<int> RouteBetween(int from, int to, std::vector<int> forbidden = {}) {
        for (int f : forbidden) {
            model.Stations()[f]->kind = kForbiddenKind;
        }
        model.departure = model.Stations()[from];
        model.destination = model.Stations()[to];
        SilentRouteSearchFeedback silent;
        FindRoute(model, silent);
        std::vector<int> route;
        for (const Station* s : model.route) {
            route.push_back(s->index);
        }
        for (int f : forbidden) {
            model.Stations()[f]->kind = kStationKind;
        }
        return route;
    }

    std::string path;
    NetworkModel model;
};

std::vector<int> Route(const json& state) {
    return state["model"]["route"].get<std::vector<int>>();
}

json Timers(const json& state) {
    return state["timers"];
}

bool HasTimer(const json& state, int id, int period) {
    for (const json& timer : state["timers"]) {
        if (timer["id"] == id && timer["period"] == period) {
            return true;
        }
    }
    return false;
}

// The centre of a rectangle [left, top, right, bottom] as a script's "X Y".
std::string Centre(const json& rect) {
    return std::to_string((rect[0].get<int>() + rect[2].get<int>()) / 2) + " " +
           std::to_string((rect[1].get<int>() + rect[3].get<int>()) / 2);
}

// Where the open-file page shows its first row, the one shipped map.
constexpr char kFirstRow[] = "tap 60 56\n";

TEST(ProgramStart, FirstStartAsksForAMapAndEndsWhenCancelled) {
    const Home home;
    const Outcome outcome = home.Run("state\nkey escape\nwait 10\nstate\n");
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_EQ(WindowOf(outcome.states[0], "#32770")["text"], "Открыть");
    EXPECT_EQ(WindowOf(outcome.states[0], "SysListView32")["items"],
              json::array({json::array({"Пример", "maps"})}));
    EXPECT_TRUE(outcome.states[0]["model"].is_null());
    EXPECT_FALSE(fs::exists(home.SettingsFile()));

    const Outcome chosen = home.Run(std::string(kFirstRow) + "wait 10\nstate\n");
    ASSERT_EQ(chosen.states.size(), 1u);
    EXPECT_EQ(chosen.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(WindowOf(chosen.states[0], "QuorvaneWnd")["text"], "Пример");
    EXPECT_EQ(home.Saved().mapPath, Utf8ToUtf16((home.Root() / "maps" / "example.qvn").string()));
}

TEST(MainWindow, LoadCommandForgetsTheStationsAndCancelChangesNothing) {
    const Home home;
    const Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    const std::string script = "tap " + map.TapAt(tappable.front()) +
                               "\ncommand ID_DEPARTURE\nkey ctrl+n\nwait 10\nstate\nkey "
                               "escape\nwait 10\nstate\nkey ctrl+n\n" +
                               kFirstRow + "wait 10\nstate\n";
    const Outcome outcome = home.Run(script, map.path);
    ASSERT_EQ(outcome.states.size(), 3u);
    EXPECT_EQ(WindowOf(outcome.states[0], "#32770")["text"], "Открыть");
    const json& cancelled = outcome.states[1];
    EXPECT_EQ(cancelled["model"]["departure"]["index"], tappable.front());
    EXPECT_EQ(cancelled["settings"]["departureIndex"], tappable.front());
    const json& loaded = outcome.states[2];
    EXPECT_EQ(loaded["model"]["name"], "Пример");
    EXPECT_TRUE(loaded["model"]["departure"].is_null());
    EXPECT_EQ(loaded["settings"]["departureIndex"], -1);
}

TEST(ProgramStart, MissingRememberedMapShowsTheErrorThenTheEmptyWindow) {
    const Home home;
    Settings settings;
    settings.mapPath = Utf8ToUtf16((home.Root() / "gone.qvn").string()).value();
    home.Save(settings);
    const Outcome outcome = home.Run("state\nkey return\nwait 10\nstate\nshot empty.png\n");
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 2u);
    const std::vector<std::uint32_t> empty = ShotPixels(home.Root() / "empty.png");
    ASSERT_EQ(empty.size(), 240u * 320u);
    // Between the shell's bars the window shows only its background.
    EXPECT_EQ(std::count(empty.begin() + 26 * 240, empty.begin() + 294 * 240, 0xFFFFFFu),
              (294 - 26) * 240);
    ExpectMapNotLoadedBox(outcome.states[0]);
    const json& after = outcome.states[1];
    EXPECT_TRUE(after["messageBoxes"].empty());
    EXPECT_TRUE(after["model"].is_null());
    EXPECT_EQ(WindowOf(after, "QuorvaneWnd")["text"], "Схема метро");
    // The reason names the file, for the map's author.
    EXPECT_NE(outcome.errors.find("gone.qvn"), std::string::npos) << outcome.errors;
    // The remembered path stays as it was.
    EXPECT_EQ(home.Saved().mapPath, settings.mapPath);
}

TEST(ProgramStart, BrokenMapReportsTheLineOnStandardError) {
    const Home home;
    const fs::path broken = home.Root() / "broken.qvn";
    std::ofstream(broken) << "[NAME]\r\nX;1;0;2;2;\r\n[MAP]\r\nnonsense\r\n";
    const Outcome outcome = home.Run("key return\nwait 10\nstate\n", broken.string());
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_TRUE(outcome.states[0]["model"].is_null());
    EXPECT_NE(outcome.errors.find("broken.qvn: line "), std::string::npos) << outcome.errors;
}

TEST(ProgramStart, LongMapPathIsKeptWhole) {
    const Home home;
    fs::path folder = home.Root();
    for (int i = 0; i < 6; ++i) {
        folder /= std::string(60, static_cast<char>('a' + i));
    }
    fs::create_directories(folder);
    const fs::path map = folder / "example.qvn";
    fs::copy_file(kMaps / "example.qvn", map);
    ASSERT_GT(map.string().size(), 300u);
    const Outcome outcome = home.Run("state\n", map.string());
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_EQ(outcome.states[0]["settings"]["mapPath"], map.string());
    EXPECT_EQ(Utf16ToUtf8(home.Saved().mapPath), map.string());
}

TEST(ProgramStart, ARememberedPathWithALoneSurrogateNamesNoFile) {
    const Home home;
    // The file its replacement character would name.
    fs::copy_file(kMaps / "example.qvn", home.Root() / "a\xEF\xBF\xBD.qvn");
    Settings settings;
    settings.mapPath = *Utf8ToUtf16(home.Root().string() + "/a") + u"\xD800.qvn";
    home.Save(settings);
    const Outcome outcome = home.Run("state\nkey return\nwait 10\nstate\n");
    ASSERT_EQ(outcome.states.size(), 2u);
    EXPECT_EQ(outcome.states[0]["messageBoxes"].size(), 1u);
    EXPECT_TRUE(outcome.states[1]["model"].is_null());
    EXPECT_NE(outcome.errors.find("No such file"), std::string::npos) << outcome.errors;
}

TEST(MainWindow, TapShowsTheCalloutUntilTheTooltipTimeEnds) {
    const Home home;
    const Map map("zarechensk.qvn");
    const int station = map.Tappable().at(0);
    const Outcome outcome = home.Run("wait 10\nshot before.png\ntap " + map.TapAt(station) +
                                         "\nstate\nwait 1990\nstate\nshot shown.png\nwait "
                                         "20\nstate\nshot after.png\ntap 0 0\nstate\n",
                                     map.path);
    ASSERT_EQ(outcome.states.size(), 4u);
    // The callout shows on the screen, and once its time is up the screen is as before.
    const std::vector<std::uint32_t> before = ShotPixels(home.Root() / "before.png");
    ASSERT_EQ(before.size(), 240u * 320u);
    EXPECT_NE(ShotPixels(home.Root() / "shown.png"), before);
    EXPECT_EQ(ShotPixels(home.Root() / "after.png"), before);
    EXPECT_EQ(outcome.states[0]["model"]["hotStation"]["index"], station);
    EXPECT_TRUE(HasTimer(outcome.states[0], 1, 2000));
    EXPECT_EQ(outcome.states[1]["model"]["hotStation"]["index"], station);
    EXPECT_TRUE(outcome.states[2]["model"]["hotStation"].is_null());
    EXPECT_TRUE(Timers(outcome.states[2]).empty());
    EXPECT_TRUE(outcome.states[3]["model"]["hotStation"].is_null());
}

TEST(MainWindow, DepartureDestinationFindTheRouteThatBlinks) {
    const Home home;
    Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    const int from = tappable.front();
    const int to = tappable.back();
    const std::string script =
        "command ID_DEPARTURE\nstate\n"  // nothing is hot yet
        "tap " +
        map.TapAt(from) +
        "\ncommand ID_DEPARTURE\nstate\n"
        "tap " +
        map.TapAt(to) +
        "\ncommand ID_DESTINATION\nstate\n"
        "shot on.png\nwait 500\nstate\nshot off.png\nwait 500\nstate\n";
    const Outcome outcome = home.Run(script, map.path);
    // The route and its end markers show in the on-phase only.
    const std::vector<std::uint32_t> on = ShotPixels(home.Root() / "on.png");
    const std::vector<std::uint32_t> off = ShotPixels(home.Root() / "off.png");
    ASSERT_EQ(on.size(), 240u * 320u);
    ASSERT_EQ(off.size(), on.size());
    EXPECT_GT(std::inner_product(on.begin(), on.end(), off.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              20);
    ASSERT_EQ(outcome.states.size(), 5u);
    EXPECT_TRUE(outcome.states[0]["model"]["departure"].is_null());
    const json& departed = outcome.states[1];
    EXPECT_EQ(departed["model"]["departure"]["index"], from);
    EXPECT_EQ(departed["settings"]["departureIndex"], from);
    EXPECT_TRUE(Route(departed).empty());
    EXPECT_FALSE(HasTimer(departed, 2, 500));
    const json& routed = outcome.states[2];
    EXPECT_EQ(Route(routed), map.RouteBetween(from, to));
    EXPECT_FALSE(Route(routed).empty());
    EXPECT_EQ(routed["settings"]["destinationIndex"], to);
    EXPECT_TRUE(routed["blinkOn"]);
    EXPECT_EQ(routed["routeLabelCounter"], 1);
    EXPECT_TRUE(HasTimer(routed, 2, 500));
    EXPECT_FALSE(outcome.states[3]["blinkOn"]);
    EXPECT_TRUE(outcome.states[4]["blinkOn"]);
    EXPECT_EQ(outcome.states[4]["routeLabelCounter"], 2);
    const Settings saved = home.Saved();
    EXPECT_EQ(saved.departureIndex, from);
    EXPECT_EQ(saved.destinationIndex, to);
}

TEST(MainWindow, AnEndThePickerRemovesTakesTheRouteWithIt) {
    const Home home;
    Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    Settings settings;
    settings.mapPath = *Utf8ToUtf16(map.path);
    settings.saveRoute = true;
    settings.departureIndex = tappable.front();
    settings.destinationIndex = tappable.back();
    home.Save(settings);
    const Outcome picker = home.Run("command ID_STATION_LIST\nwait 10\nstate\n", {}, "picker");
    ASSERT_EQ(picker.states.size(), 1u);
    std::string departureButton;
    for (const json& window : picker.states[0]["windows"]) {
        if (window["id"] == 1025) {
            departureButton = Centre(window["rect"]);
        }
    }
    ASSERT_FALSE(departureButton.empty());
    // With no row selected the button clears the departure.
    const Outcome outcome =
        home.Run("wait 10\nstate\ncommand ID_STATION_LIST\nwait 10\ntap " + departureButton +
                 "\nkey escape\nwait 10\nstate\nshot after.png\nwait 600\nstate\ncommand "
                 "ID_ROUTE_INFO\nwait 10\nstate\n");
    ASSERT_EQ(outcome.states.size(), 4u);
    EXPECT_FALSE(Route(outcome.states[0]).empty());
    const json& after = outcome.states[1];
    EXPECT_TRUE(after["model"]["departure"].is_null());
    EXPECT_TRUE(Route(after).empty());
    EXPECT_FALSE(HasTimer(after, 2, 500));
    // Nothing of the route is drawn (route colour 0xFF00FF).
    const std::vector<std::uint32_t> shot = ShotPixels(home.Root() / "after.png");
    ASSERT_EQ(shot.size(), 240u * 320u);
    EXPECT_EQ(std::count(shot.begin(), shot.end(), 0xFF00FFu), 0);
    // The route details open on no route as they do when there never was one: not at all.
    EXPECT_EQ(outcome.states[3]["windows"], outcome.states[2]["windows"]);
}

TEST(MainWindow, SettingsConfirmedOnThePageRebuildTheSchemeAndSearchAgain) {
    const Home home;
    Map map("moscow.qvn");
    // Two stations whose route changes with the criterion.
    const std::vector<int> tappable = map.Tappable();
    const int from = tappable.front();
    int to = -1;
    std::vector<int> byTime;
    for (const int candidate : tappable) {
        map.model.settings.algorithm = 1;
        byTime = map.RouteBetween(from, candidate);
        map.model.settings.algorithm = 0;
        if (!byTime.empty() && byTime != map.RouteBetween(from, candidate)) {
            to = candidate;
            break;
        }
    }
    ASSERT_GE(to, 0);
    const Outcome page = home.Run("command ID_SETTINGS\nstate\nkey escape\n", map.path, "page");
    ASSERT_EQ(page.states.size(), 1u);
    const auto control = [&](int id) {
        for (const json& window : page.states[0]["windows"]) {
            if (window["id"] == id && window["class"] == "BUTTON") {
                return Centre(window["rect"]);
            }
        }
        ADD_FAILURE() << id;
        return std::string();
    };
    const std::string tapOk =
        Centre(WindowOf(page.states[0], "QvShellNavigationBar")["doneButton"]);
    // By time, and the route steady in the scheme image instead of blinking over it; both shots
    // in what would be the blink's off-phase.
    const std::string script =
        "tap " + map.TapAt(from) + "\ncommand ID_DEPARTURE\ntap " + map.TapAt(to) +
        "\ncommand ID_DESTINATION\nwait 500\nshot before.png\n" +
        "state\ncommand ID_SETTINGS\ntap " + control(1051) + "\ntap " + control(1064) + "\ntap " +
        tapOk + "\nwait 500\nshot after.png\nstate\n";
    const Outcome outcome = home.Run(script, map.path);
    ASSERT_EQ(outcome.states.size(), 2u);
    EXPECT_EQ(Route(outcome.states[0]), map.RouteBetween(from, to));
    EXPECT_EQ(outcome.states[1]["settings"]["algorithm"], 1);
    EXPECT_EQ(outcome.states[1]["settings"]["routeBlink"], false);
    EXPECT_EQ(Route(outcome.states[1]), byTime);
    EXPECT_EQ(home.Saved().algorithm, 1);
    const std::vector<std::uint32_t> before = ShotPixels(home.Root() / "before.png");
    const std::vector<std::uint32_t> after = ShotPixels(home.Root() / "after.png");
    ASSERT_EQ(before.size(), after.size());
    EXPECT_GT(std::inner_product(before.begin(), before.end(), after.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              200)
        << "the route is drawn into a new scheme image";
}

TEST(MainWindow, ShowingStationNamesOnTheSettingsPageRedrawsTheSchemeAtOnce) {
    const Home home;
    const Map map("almaty.qvn");
    const Outcome page =
        home.Run("command ID_SETTINGS\nwait 10\nstate\nkey escape\n", map.path, "page");
    ASSERT_EQ(page.states.size(), 1u);
    std::string box;
    for (const json& window : page.states[0]["windows"]) {
        if (window["id"] == 1060 && window["class"] == "BUTTON") {
            box = Centre(window["rect"]);
        }
    }
    ASSERT_FALSE(box.empty());
    const std::string ok = Centre(WindowOf(page.states[0], "QvShellNavigationBar")["doneButton"]);
    const Outcome outcome = home.Run("wait 10\nshot plain.png\ncommand ID_SETTINGS\nwait 10\ntap " +
                                         box + "\ntap " + ok + "\nwait 10\nshot named.png\nstate\n",
                                     map.path);
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_EQ(outcome.states[0]["settings"]["showStationNames"], true);
    EXPECT_TRUE(WindowOf(outcome.states[0], "#32770").is_null());
    const std::vector<std::uint32_t> plain = ShotPixels(home.Root() / "plain.png");
    const std::vector<std::uint32_t> named = ShotPixels(home.Root() / "named.png");
    ASSERT_EQ(plain.size(), 240u * 320u);
    ASSERT_EQ(named.size(), plain.size());
    EXPECT_GT(std::inner_product(plain.begin(), plain.end(), named.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              200);
}

std::string Repeat(std::string_view line, std::size_t times) {
    std::string lines;
    for (std::size_t i = 0; i < times; ++i) {
        lines += line;
    }
    return lines;
}

// The command's button on the menu bar, counted after "Cхема".
std::size_t BarPosition(int command) {
    const auto found =
        std::find_if(kMainToolbarButtons.begin(), kMainToolbarButtons.end(),
                     [&](const TBBUTTON& button) { return button.idCommand == command; });
    return 1 + static_cast<std::size_t>(found - kMainToolbarButtons.begin());
}

// Where the pen finds the menu bar's buttons, the "Cхема" menu's items (those that can be
// chosen, "&" left out) and the navigation bar's "ok". Text widths and menu rows follow the font,
// so a first run reads them from the program's own layout; the "Cхема" button begins with its
// padding, whatever its text.
struct PenTargets {
    std::vector<std::string> bar;
    std::vector<std::pair<std::string, std::string>> menu;
    std::string done;

    std::size_t MenuPosition(std::string_view text) const {
        const auto found = std::find_if(menu.begin(), menu.end(),
                                        [&](const auto& item) { return item.first == text; });
        EXPECT_NE(found, menu.end()) << text;
        return static_cast<std::size_t>(found - menu.begin());
    }
};
constexpr int kBarButtonsY = MenuBarRect().top + (kMenuBarEdge + kMenuBarHeight) / 2;
constexpr int kSchemeButtonX = MenuBarRect().left + kMenuBarButtonMargin + kMenuBarTextPadding;

PenTargets FindPenTargets(const Home& home, const std::string& map) {
    const Outcome outcome = home.Run("state\ntap " + std::to_string(kSchemeButtonX) + " " +
                                         std::to_string(kBarButtonsY) +
                                         "\nwait 10\nstate\nkey escape\nwait 10\n"
                                         "command ID_SETTINGS\nwait 10\nstate\nkey escape\n",
                                     map, "targets");
    PenTargets targets;
    if (outcome.states.size() != 3) {
        ADD_FAILURE() << outcome.errors;
        return targets;
    }
    const json bar = WindowOf(outcome.states[0], "QvShellMenuBar");
    for (const json& rect : bar["buttons"]) {
        EXPECT_LE(rect[1], kBarButtonsY);
        EXPECT_GT(rect[3], kBarButtonsY);
        targets.bar.push_back(Centre(rect));
    }
    const json menu = WindowOf(outcome.states[1], "#32768");
    for (const json& item : menu["items"]) {
        std::string text = item["text"];
        std::erase(text, '&');
        if (!text.empty()) {
            targets.menu.emplace_back(text, Centre(item["rect"]));
        }
    }
    targets.done = Centre(WindowOf(outcome.states[2], "QvShellNavigationBar")["doneButton"]);
    return targets;
}

// How one page is opened and closed.
struct PagePass {
    std::string open;
    std::string close;
    std::string_view what;
};

// Each page, once open, is the active window over the disabled main window and shows what it is
// for; once closed, the main window is enabled and active with the keys under its own bars, with
// the route and the settings it had before.
void ExpectPagesHandBack(const Home& home, const std::string& steps, const std::string& map,
                         const std::vector<PagePass>& pages, const Map& network,
                         const std::vector<int>& route) {
    std::string script = steps + "wait 10\nstate\n";
    for (const PagePass& page : pages) {
        script += page.open + "wait 10\nstate\n" + page.close + "wait 10\nstate\n";
    }
    const Outcome outcome = home.Run(script, map);
    ASSERT_EQ(outcome.states.size(), 1 + 2 * pages.size()) << outcome.errors;
    const json& before = outcome.states[0];
    ASSERT_FALSE(route.empty());
    EXPECT_EQ(Route(before), route);
    EXPECT_TRUE(before["blinkOn"]);
    EXPECT_TRUE(HasTimer(before, 2, 500));
    EXPECT_EQ(WindowOf(before, "QuorvaneWnd")["text"], Utf16ToUtf8(network.model.name));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string_view what = pages[i].what;
        const json& open = outcome.states[1 + 2 * i];
        const json page = WindowOf(open, "#32770");
        ASSERT_FALSE(page.is_null()) << what;
        EXPECT_TRUE(page["active"]) << what;
        EXPECT_FALSE(WindowOf(open, "QuorvaneWnd")["enabled"]) << what;
        const json list = WindowOf(open, "SysListView32");
        if (what == "picker") {
            EXPECT_EQ(list["items"].size(),
                      static_cast<std::size_t>(std::count_if(
                          network.model.Stations().begin(), network.model.Stations().end(),
                          [](const Station* s) { return s->IsStation(); })));
        } else if (what == "details") {
            // The summary rows, then at least every station of the route.
            EXPECT_GE(list["items"].size(), 4 + route.size() - 1);
        } else {
            EXPECT_EQ(WindowOf(open, what == "settings" ? "BUTTON" : "STATIC")["id"],
                      what == "settings" ? 1050 : 1067);
        }
        const json& closed = outcome.states[2 + 2 * i];
        EXPECT_TRUE(WindowOf(closed, "#32770").is_null()) << what;
        const json main = WindowOf(closed, "QuorvaneWnd");
        EXPECT_TRUE(main["enabled"] && main["active"] && main["focus"]) << what;
        EXPECT_EQ(WindowOf(closed, "QvShellNavigationBar")["text"], main["text"]) << what;
        EXPECT_FALSE(WindowOf(closed, "QvShellMenuBar").is_null()) << what;
        EXPECT_EQ(Route(closed), route) << what;
        EXPECT_TRUE(HasTimer(closed, 2, 500)) << what;
        EXPECT_EQ(closed["settings"], before["settings"]) << what;
    }
    EXPECT_EQ(outcome.exitCode, 0);
}

TEST(ProgramPass, EveryPageOpensAndClosesByTapAndByKeyboard) {
    const Home home;
    Map map("moscow.qvn");
    const PenTargets pen = FindPenTargets(home, map.path);
    const std::vector<int> tappable = map.Tappable();
    const int from = tappable.front();
    const int to = tappable.back();
    const std::vector<int> route = map.RouteBetween(from, to);
    const auto tap = [](const std::string& at) { return "tap " + at + "\nwait 10\n"; };
    const std::string scheme = tap(pen.bar.at(0));
    constexpr RECT kWork = WorkArea();
    {
        SCOPED_TRACE("tap");
        ExpectPagesHandBack(
            home,
            tap(map.TapAt(from)) + tap(pen.bar.at(BarPosition(ID_DEPARTURE))) + tap(map.TapAt(to)) +
                tap(pen.bar.at(BarPosition(ID_DESTINATION))),
            map.path,
            {{tap(pen.bar.at(BarPosition(ID_STATION_LIST))), tap(pen.done), "picker"},
             {tap(pen.bar.at(BarPosition(ID_ROUTE_INFO))), tap(pen.done), "details"},
             {scheme + tap(pen.menu.at(pen.MenuPosition("Настройки")).second), tap(pen.done),
              "settings"},
             // The about box has no "ok": a tap anywhere closes it.
             {scheme + tap(pen.menu.at(pen.MenuPosition("O программе")).second),
              tap(Centre(json::array({kWork.left, kWork.top, kWork.right, kWork.bottom}))),
              "about"}},
            map, route);
    }

    // The route comes back at a start with no map named; F10 gives the menu bar the keys on
    // "Cхема", Right moves along the toolbar and Return presses, the menu opening on its first
    // item.
    Settings settings;
    settings.mapPath = Utf8ToUtf16(map.path).value();
    settings.saveRoute = true;
    settings.departureIndex = from;
    settings.destinationIndex = to;
    home.Save(settings);
    const auto menu = [&](std::string_view item) {
        return "key f10\nkey return\n" + Repeat("key down\n", pen.MenuPosition(item)) +
               "key return\n";
    };
    SCOPED_TRACE("keyboard");
    ExpectPagesHandBack(
        home, {}, {},
        {{"key ctrl+h\n", "key escape\n", "picker"},
         {"key f10\n" + Repeat("key right\n", BarPosition(ID_ROUTE_INFO)) + "key return\n",
          "key return\n", "details"},
         // A box changed and then cancelled is not kept.
         {menu("Настройки"), "key tab\nkey space\nkey escape\n", "settings"},
         {menu("O программе"), "key return\n", "about"}},
        map, route);
}

TEST(MainWindow, ForbiddenStationDetoursAndClearKeepsTheMark) {
    const Home home;
    Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    const int from = tappable.front();
    const int to = tappable.back();
    const std::vector<int> route = map.RouteBetween(from, to);
    // A station of the route between its ends that a tap can reach, with a way round it.
    int middle = -1;
    for (std::size_t i = 1; i + 1 < route.size() && middle == -1; ++i) {
        if (std::find(tappable.begin(), tappable.end(), route[i]) != tappable.end() &&
            map.model.Stations()[route[i]]->IsStation() &&
            !map.RouteBetween(from, to, {route[i]}).empty()) {
            middle = route[i];
        }
    }
    ASSERT_NE(middle, -1);
    // The map comes with forbidden stations of its own.
    std::vector<int> forbidden;
    for (const Station* s : map.model.Stations()) {
        if (s->kind == kForbiddenKind) {
            forbidden.push_back(s->index);
        }
    }
    const std::vector<int> fromFile = forbidden;
    forbidden.push_back(middle);
    std::sort(forbidden.begin(), forbidden.end());
    const std::string script =
        "tap " + map.TapAt(from) + "\ncommand ID_DEPARTURE\ntap " + map.TapAt(to) +
        "\ncommand ID_DESTINATION\nshot route.png\ntap " + map.TapAt(middle) +
        "\ncommand ID_FORBIDDEN_STATION\n"
        "key return\n"  // a box if no route is left
        "wait 10\nshot detour.png\nstate\n"
        "command ID_DEPARTURE\nstate\n"  // a forbidden station is never an end
        "command ID_CLEAR_STATIONS\nstate\n"
        "command ID_FORBIDDEN_STATION\nstate\n";
    const Outcome outcome = home.Run(script, map.path);
    ASSERT_EQ(outcome.states.size(), 4u);
    const json& detour = outcome.states[0];
    EXPECT_EQ(detour["model"]["forbidden"], forbidden);
    EXPECT_EQ(Route(detour), map.RouteBetween(from, to, {middle}));
    EXPECT_FALSE(Route(detour).empty());
    EXPECT_NE(Route(detour), route);
    EXPECT_EQ(outcome.states[1]["model"]["departure"]["index"], from);
    const json& cleared = outcome.states[2];
    EXPECT_TRUE(cleared["model"]["departure"].is_null());
    EXPECT_TRUE(cleared["model"]["destination"].is_null());
    EXPECT_TRUE(Route(cleared).empty());
    EXPECT_FALSE(HasTimer(cleared, 2, 500));
    EXPECT_EQ(cleared["model"]["forbidden"], forbidden);
    EXPECT_EQ(cleared["settings"]["departureIndex"], -1);
    EXPECT_EQ(cleared["settings"]["destinationIndex"], -1);
    EXPECT_EQ(outcome.states[3]["model"]["forbidden"], fromFile);
    const Settings saved = home.Saved();
    EXPECT_EQ(saved.departureIndex, -1);
    EXPECT_EQ(saved.destinationIndex, -1);
    // The screen shows the detour at once: the route colour (0xFF00FF) leaves the old way and
    // takes the new one.
    const std::vector<std::uint32_t> before = ShotPixels(home.Root() / "route.png");
    const std::vector<std::uint32_t> after = ShotPixels(home.Root() / "detour.png");
    ASSERT_EQ(before.size(), 240u * 320u);
    ASSERT_EQ(after.size(), before.size());
    int left = 0;
    int taken = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        left += before[i] == 0xFF00FFu && after[i] != 0xFF00FFu;
        taken += before[i] != 0xFF00FFu && after[i] == 0xFF00FFu;
    }
    EXPECT_GT(left, 20);
    EXPECT_GT(taken, 20);
}

TEST(MainWindow, ScaleDragAndExitSaveTheView) {
    const Home home;
    const Map map("example.qvn");
    ASSERT_EQ(map.model.zoomFactor, 2);
    const Outcome outcome = home.Run(
        "command ID_SCALE\nstate\ndrag 100 100 130 90\nstate\n"
        "command ID_SCALE\nstate\ncommand ID_SCALE\ndrag 50 50 40 45\nstate\n"
        "command ID_EXIT\nwait 10\nstate\n",
        map.path);
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 4u);  // the program has ended before the last state
    const json& zoomed = outcome.states[0]["model"];
    EXPECT_TRUE(zoomed["zoomed"]);
    EXPECT_EQ(zoomed["scale"], 2);
    EXPECT_EQ(outcome.states[0]["settings"]["savedZoom"], 2);
    const json& panned = outcome.states[1]["model"];
    EXPECT_EQ(panned["view"][0], zoomed["view"][0].get<int>() + 30);
    EXPECT_EQ(panned["view"][1], zoomed["view"][1].get<int>() - 10);
    EXPECT_FALSE(outcome.states[2]["model"]["zoomed"]);
    EXPECT_EQ(outcome.states[2]["settings"]["savedZoom"], 1);
    const json& last = outcome.states[3]["model"];
    const Settings saved = home.Saved();
    EXPECT_EQ(saved.savedZoom, 2);
    EXPECT_EQ(saved.savedViewX, last["view"][0]);
    EXPECT_EQ(saved.savedViewY, last["view"][1]);
}

TEST(MainWindow, ScaleDoesNothingWithoutAZoomFactorAndDragDoesNotPanUnzoomed) {
    const Home home;
    const Map map("almaty.qvn");
    ASSERT_EQ(map.model.zoomFactor, 1);
    const Outcome outcome = home.Run("command ID_SCALE\ndrag 100 100 130 90\nstate\n", map.path);
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_FALSE(outcome.states[0]["model"]["zoomed"]);
    EXPECT_EQ(outcome.states[0]["model"]["view"], json::array({0, 0}));
    EXPECT_EQ(outcome.states[0]["settings"]["savedZoom"], 1);
}

TEST(ProgramStart, MapArgumentReplacesTheRememberedMapAndItsStations) {
    const Home home;
    Settings settings;
    settings.mapPath = Utf8ToUtf16((kMaps / "zarechensk.qvn").string()).value();
    settings.saveRoute = true;
    settings.departureIndex = 0;
    settings.destinationIndex = 1;
    home.Save(settings);
    const Outcome outcome = home.Run("state\n", (kMaps / "example.qvn").string());
    ASSERT_EQ(outcome.states.size(), 1u);
    const json& state = outcome.states[0];
    EXPECT_EQ(state["model"]["name"], "Пример");
    EXPECT_TRUE(state["model"]["departure"].is_null());
    EXPECT_TRUE(Route(state).empty());
    EXPECT_EQ(state["settings"]["departureIndex"], -1);
    EXPECT_EQ(Utf16ToUtf8(home.Saved().mapPath), (kMaps / "example.qvn").string());
}

TEST(MainWindow, AcceleratorsAndHelp) {
    const Home home;
    const Map map("example.qvn");
    // Ctrl+O does nothing; the help page is not beside the test build, so its box shows.
    const Outcome ctrlO = home.Run(
        "state\nkey ctrl+o\nstate\nmenu Помощь\nstate\n"
        "key return\nwait 10\nstate\n",
        map.path);
    ASSERT_EQ(ctrlO.states.size(), 4u);
    EXPECT_EQ(ctrlO.states[0], ctrlO.states[1]);
    const json& help = ctrlO.states[2]["messageBoxes"];
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0]["caption"], "Ошибка");
    EXPECT_EQ(help[0]["text"], "Ошибка");
    EXPECT_EQ(help[0]["icon"], "stop");
    EXPECT_TRUE(ctrlO.states[3]["messageBoxes"].empty());
    for (const char* key : {"key ctrl+q", "key alt+f4", "menu Выход"}) {
        const Outcome outcome =
            home.Run(std::string("command ID_SCALE\n") + key + "\nwait 10\nstate\n", {});
        EXPECT_EQ(outcome.exitCode, 0) << key;
        EXPECT_TRUE(outcome.states.empty()) << key;
        EXPECT_EQ(home.Saved().savedZoom, 2) << key;
        Settings reset = home.Saved();
        reset.savedZoom = 1;
        home.Save(reset);
    }
}

// Runs the first copy's script in a child process, and returns once that copy is up: its socket
// listens and it has written the settings as a loaded map does.
pid_t StartFirstCopy(const Home& home, const std::string& script, const std::string& map) {
    std::optional<fs::file_time_type> before;
    if (fs::exists(home.SettingsFile())) {
        before = fs::last_write_time(home.SettingsFile());
    }
    const pid_t first = fork();
    if (first == 0) {
        const int status = std::system(home.Command(script, map, "first").c_str());
        _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    auto listening = [&] {
        for (const auto& entry : fs::directory_iterator(home.Root() / "run")) {
            if (entry.is_directory()) {
                for (const auto& socket : fs::directory_iterator(entry)) {
                    if (socket.is_socket()) {
                        return true;
                    }
                }
            }
        }
        return false;
    };
    auto written = [&] {
        return fs::exists(home.SettingsFile()) &&
               (!before || fs::last_write_time(home.SettingsFile()) != *before);
    };
    while (!(listening() && written()) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return first;
}

Outcome FirstCopyOutcome(const Home& home, pid_t first) {
    int status = 0;
    waitpid(first, &status, 0);
    return home.Collect(status, "first");
}

// A second start raises the first and ends; one with a map the first refuses says so and fails.
TEST(ProgramStart, SecondStartRaisesTheFirstAndEnds) {
    const Home home;
    const Map map("example.qvn");
    const pid_t first = StartFirstCopy(home, "pause 2500\nstate\n", map.path);
    const fs::file_time_type written = fs::last_write_time(home.SettingsFile());
    const Outcome second = home.Run("state\n", {}, "second");
    // Longer than any path the running copy takes.
    const Outcome refused = home.Run("state\n", "/" + std::string(32763, 'a') + ".qvn", "refused");
    const Outcome firstOutcome = FirstCopyOutcome(home, first);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.states.empty());
    EXPECT_EQ(second.errors, "");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.states.empty());
    EXPECT_EQ(refused.errors.rfind("quorvane: the running copy did not take /aaa", 0), 0u)
        << refused.errors.substr(0, 200);
    EXPECT_EQ(fs::last_write_time(home.SettingsFile()), written);
    ASSERT_EQ(firstOutcome.states.size(), 1u);
    EXPECT_EQ(firstOutcome.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(firstOutcome.states[0]["settings"]["mapPath"], map.path);
}

TEST(ProgramStart, SecondStartWithAMapHandsItToTheFirst) {
    const Home home;
    Settings settings;
    settings.mapPath = Utf8ToUtf16((kMaps / "example.qvn").string()).value();
    settings.saveRoute = true;
    settings.departureIndex = 0;
    settings.destinationIndex = 1;
    home.Save(settings);
    const pid_t first = StartFirstCopy(home, "state\npause 2500\nstate\n", {});
    const std::string handed = (kMaps / "almaty.qvn").string();
    const Outcome second = home.Run("state\n", handed, "second");
    const Outcome firstOutcome = FirstCopyOutcome(home, first);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.states.empty());
    EXPECT_EQ(second.errors, "");
    ASSERT_EQ(firstOutcome.states.size(), 2u);
    const json& before = firstOutcome.states[0];
    EXPECT_EQ(before["model"]["name"], "Пример");
    EXPECT_FALSE(before["model"]["departure"].is_null());
    const json& after = firstOutcome.states[1];
    EXPECT_EQ(after["model"]["name"], Utf16ToUtf8(Map("almaty.qvn").model.name));
    EXPECT_EQ(after["settings"]["mapPath"], handed);
    EXPECT_TRUE(after["model"]["departure"].is_null());
    EXPECT_TRUE(Route(after).empty());
    EXPECT_EQ(after["settings"]["departureIndex"], -1);
    EXPECT_EQ(Utf16ToUtf8(home.Saved().mapPath), handed);
}

TEST(ProgramStart, AMapHandedOverWhileAPageIsOpenIsLoadedWhenItCloses) {
    const Home home;
    const Map map("example.qvn");
    // The settings page refers to the network it was opened on.
    const pid_t first = StartFirstCopy(
        home, "command ID_SETTINGS\nwait 10\npause 2500\nstate\nkey escape\nwait 10\nstate\n",
        map.path);
    const std::string handed = (kMaps / "almaty.qvn").string();
    const Outcome second = home.Run("state\n", handed, "second");
    const Outcome firstOutcome = FirstCopyOutcome(home, first);
    EXPECT_EQ(second.exitCode, 0);
    ASSERT_EQ(firstOutcome.states.size(), 2u);
    EXPECT_EQ(firstOutcome.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(firstOutcome.states[1]["model"]["name"], Utf16ToUtf8(Map("almaty.qvn").model.name));
    EXPECT_EQ(firstOutcome.states[1]["settings"]["mapPath"], handed);
}

TEST(ProgramStart, AMapWhoseNameIsNotUtf8IsOpenedByItsBytesHandedOverAndRemembered) {
    const Home home;
    const std::string latin1 = "\xE9t\xE9.qvn";  // "été" in Latin-1
    fs::copy_file(kMaps / "example.qvn", home.Root() / latin1);
    std::ofstream(home.Root() / ("broken-" + latin1)) << "[NAME]\r\nX;1;0;2;2;\r\n";
    const pid_t first =
        StartFirstCopy(home, "pause 2500\nstate\n", (kMaps / "zarechensk.qvn").string());
    const Outcome second = home.Run("state\n", (home.Root() / latin1).string(), "second");
    const Outcome firstOutcome = FirstCopyOutcome(home, first);
    EXPECT_EQ(second.exitCode, 0);
    ASSERT_EQ(firstOutcome.states.size(), 1u);
    EXPECT_EQ(firstOutcome.states[0]["model"]["name"], "Пример");
    const std::u16string remembered =
        *Utf8ToUtf16(home.Root().string() + "/") + u"\xDCE9t\xDCE9.qvn";
    EXPECT_EQ(home.Saved().mapPath, remembered);
    // Started again, the remembered map loads; a map that does not load is named escaped.
    EXPECT_EQ(home.Run("state\n").states.at(0)["model"]["name"], "Пример");
    const Outcome broken =
        home.Run("key return\nwait 10\n", (home.Root() / ("broken-" + latin1)).string());
    EXPECT_NE(broken.errors.find("broken-\\xE9t\\xE9.qvn"), std::string::npos) << broken.errors;
}

}  // namespace
}  // namespace qv
