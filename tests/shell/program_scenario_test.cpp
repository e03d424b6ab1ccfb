// The whole program through its entry routine, driven by quorvane-headless scripts in a scratch
// home, checked on the state it reports.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "model/map_file.h"
#include "program_home.h"
#include "render/scheme_view.h"
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
    std::vector<int> RouteBetween(int from, int to, int forbidden = -1) {
        if (forbidden >= 0) {
            model.Stations()[forbidden]->kind = kForbiddenKind;
        }
        model.departure = model.Stations()[from];
        model.destination = model.Stations()[to];
        SilentRouteSearchFeedback silent;
        FindRoute(model, silent);
        if (forbidden >= 0) {
            model.Stations()[forbidden]->kind = kStationKind;  // it was a tappable station
        }
        std::vector<int> route(model.route.size());
        std::ranges::transform(model.route, route.begin(),
                               [](const Station* s) { return s->index; });
        return route;
    }

    std::string path;
    NetworkModel model;
};

std::vector<int> Route(const json& state) {
    return state["model"]["route"].get<std::vector<int>>();
}

bool HasTimer(const json& state, int id, int period) {
    return std::ranges::any_of(state["timers"], [&](const json& timer) {
        return timer["id"] == id && timer["period"] == period;
    });
}

// The shot's pixels farther than 8 in a channel from the approved picture's in tests/data/pages,
// or its size when the sizes differ. With QV_UPDATE_GOLDEN set, the shot becomes the approved
// picture instead: look at it before committing.
std::size_t DifferingFromApproved(const Home& home, const std::string& name) {
    const fs::path approved = fs::path(QV_TEST_DATA_DIR) / "pages" / name;
    if (std::getenv("QV_UPDATE_GOLDEN")) {
        fs::copy_file(home.Root() / name, approved, fs::copy_options::overwrite_existing);
    }
    return testing::DifferingPixels(PngPixels(home.Root() / name), PngPixels(approved), 8);
}

// Where the open-file page shows its first row, the one shipped map.
constexpr char kFirstRow[] = "tap 60 56\n";

// A first start asks for a map; the load command asks again, and forgets the stations and the
// route of the map it leaves unless cancelled.
TEST(ProgramStart, FirstStartAndTheLoadCommandAskForAMap) {
    const Home home;
    const Outcome outcome = home.Run("state\nkey escape\nwait 10\nstate\n");
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(outcome.states.size(), 1u);
    EXPECT_EQ(WindowOf(outcome.states[0], "#32770")["text"], "Открыть");
    EXPECT_TRUE(WindowOf(outcome.states[0], "SysListView32")["focus"]);
    EXPECT_EQ(outcome.states[0].dump().find("Вверх"), std::string::npos) << "Up hidden at the top";
    EXPECT_EQ(WindowOf(outcome.states[0], "SysListView32")["items"],
              json::array({json::array({"Пример", "maps"})}));
    EXPECT_TRUE(outcome.states[0]["model"].is_null());
    EXPECT_FALSE(fs::exists(home.SettingsFile()));

    const Map map("example.qvn");
    const int station = map.Tappable().at(0);
    const Outcome chosen =
        home.Run(std::string(kFirstRow) + "wait 10\nstate\ntap " + map.TapAt(station) +
                 "\ncommand ID_DEPARTURE\ntap " + map.TapAt(map.Tappable().back()) +
                 "\ncommand ID_DESTINATION\nkey ctrl+n\nwait 10\nstate\nkey escape\nwait 10\n"
                 "state\nkey ctrl+n\n" +
                 kFirstRow + "wait 10\nstate\n");
    ASSERT_EQ(chosen.states.size(), 4u);
    EXPECT_EQ(chosen.states[0]["model"]["name"], "Пример");
    EXPECT_EQ(WindowOf(chosen.states[0], "QuorvaneWnd")["text"], "Пример");
    EXPECT_EQ(WindowOf(chosen.states[1], "#32770")["text"], "Открыть");
    EXPECT_EQ(chosen.states[2]["model"]["departure"]["index"], station);
    EXPECT_TRUE(chosen.states[3]["model"]["departure"].is_null());
    EXPECT_TRUE(chosen.states[3]["timers"].empty());
    EXPECT_EQ(chosen.states[3]["settings"]["departureIndex"], -1);
    EXPECT_EQ(home.Saved().mapPath, Utf8ToUtf16((home.Maps() / "example.qvn").string()));
}

// A map that cannot be read, remembered or dropped on the window, shows the error, then the
// window as it was: empty, or with the map it had, which stays the remembered one.
TEST(ProgramStart, AMapThatCannotBeReadShowsTheErrorThenTheWindowAsItWas) {
    const Home home;
    // The file a lone surrogate's replacement character would name.
    fs::copy_file(kMaps / "example.qvn", home.Root() / "a\xEF\xBF\xBD.qvn");
    std::ofstream(home.Root() / "bro\x1bken.qvn")
        << "[NAME]\r\nX;1;0;2;2;\r\n[MAP]\r\nnonsense\r\n";
    std::ofstream(home.Root() / "notes.txt") << "not a map\n";
    const std::string example = (kMaps / "example.qvn").string();
    struct Case {
        std::u16string remembered;
        std::string dropped;
        const char* error;
    };
    const Case cases[] = {
        {Utf8ToUtf16((home.Root() / "gone.qvn").string()).value(), "", "gone.qvn: cannot open"},
        {*Utf8ToUtf16(home.Root().string() + "/a") + u"\xD800.qvn", "", "No such file"},
        {u"", "bro\x1bken.qvn", "bro\\x1Bken.qvn"},  // escaped on standard error
        {u"", "notes.txt", "notes.txt: line 1: "},
        {u"", "gone.qvn", "gone.qvn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const bool drop = !c.dropped.empty();
        home.Save({.mapPath = c.remembered});
        const Outcome outcome =
            home.Run((drop ? "drop " + (home.Root() / c.dropped).string() + "\nwait 10\n" : "") +
                         "state\nkey return\nwait 10\nstate\nshot after.png\n",
                     drop ? example : "");
        EXPECT_EQ(outcome.exitCode, 0);
        ASSERT_EQ(outcome.states.size(), 2u);
        EXPECT_EQ(outcome.states[0]["messageBoxes"], ErrorBoxes("Старый формат схемы"));
        const json& after = outcome.states[1];
        EXPECT_TRUE(after["messageBoxes"].empty());
        EXPECT_EQ(WindowOf(after, "QuorvaneWnd")["text"], drop ? "Пример" : "Схема метро");
        EXPECT_NE(outcome.errors.find(c.error), std::string::npos) << outcome.errors;
        EXPECT_EQ(after["model"].is_null(), !drop);
        if (drop) {
            EXPECT_EQ(after["settings"]["mapPath"], example);
            continue;
        }
        EXPECT_EQ(home.Saved().mapPath, c.remembered);
        const std::vector<std::uint32_t> empty = PngPixels(home.Root() / "after.png");
        ASSERT_EQ(empty.size(), 240u * 320u);
        // Between the shell's bars the window shows only its background.
        EXPECT_EQ(std::count(empty.begin() + 26 * 240, empty.begin() + 294 * 240, 0xFFFFFFu),
                  (294 - 26) * 240);
    }
}

TEST(MainWindow, TapShowsTheCalloutUntilTheTooltipTimeEnds) {
    const Home home;
    const Map map("zarechensk.qvn");
    const int station = map.Tappable().at(0);
    const Outcome outcome = home.Run("wait 10\nshot before.png\ntap " + map.TapAt(station) +
                                         "\nstate\nwait 1990\nstate\nshot shown.png\nwait "
                                         "20\nstate\nshot after.png\n",
                                     map.path);
    ASSERT_EQ(outcome.states.size(), 3u);
    // The callout shows on the screen, and once its time is up the screen is as before.
    const std::vector<std::uint32_t> before = PngPixels(home.Root() / "before.png");
    ASSERT_EQ(before.size(), 240u * 320u);
    EXPECT_NE(PngPixels(home.Root() / "shown.png"), before);
    EXPECT_EQ(PngPixels(home.Root() / "after.png"), before);
    EXPECT_TRUE(HasTimer(outcome.states[0], 1, 2000));
    EXPECT_FALSE(outcome.states[0]["blinkOn"]) << "no route to blink";
    EXPECT_EQ(outcome.states[1]["model"]["hotStation"]["index"], station);
    EXPECT_TRUE(outcome.states[2]["model"]["hotStation"].is_null());
    EXPECT_TRUE(outcome.states[2]["timers"].empty());
}

// With the line drawn steadily the callouts still step along the route.
TEST(MainWindow, DepartureDestinationFindTheRouteWhoseCalloutsStep) {
    const Home home;
    Settings steady;
    steady.routeBlink = false;
    home.Save(steady);
    Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    const int from = tappable.front();
    const int to = tappable.back();
    const std::string script = "command ID_DEPARTURE\nstate\ntap " + map.TapAt(from) +
                               "\ncommand ID_DEPARTURE\nstate\ntap " + map.TapAt(to) +
                               "\ncommand ID_DESTINATION\nstate\n"
                               "shot on.png\nwait 500\nstate\nwait 500\nstate\n";
    // A station of the route between its ends that a tap can reach, with a way round it.
    const std::vector<int> route = map.RouteBetween(from, to);
    const auto middle = std::find_if(route.begin() + 1, route.end() - 1, [&](int i) {
        return std::find(tappable.begin(), tappable.end(), i) != tappable.end() &&
               !map.RouteBetween(from, to, i).empty();
    });
    ASSERT_NE(middle, route.end() - 1);
    const Outcome outcome = home.Run(script + "tap " + map.TapAt(*middle) +
                                         "\ncommand ID_FORBIDDEN_STATION\nwait 10\nstate\n"
                                         "shot detour.png\n",
                                     map.path);
    ASSERT_EQ(outcome.states.size(), 6u);
    EXPECT_FALSE(HasTimer(outcome.states[1], 2, 500));  // one end: nothing blinks yet
    const json& routed = outcome.states[2];
    EXPECT_EQ(Route(routed), map.RouteBetween(from, to));
    EXPECT_TRUE(routed["blinkOn"]);
    EXPECT_EQ(routed["routeLabelCounter"], 1);
    EXPECT_TRUE(HasTimer(routed, 2, 500));
    EXPECT_FALSE(outcome.states[3]["blinkOn"]);
    EXPECT_EQ(outcome.states[3]["routeLabelCounter"], 1);
    EXPECT_TRUE(outcome.states[4]["blinkOn"]);
    EXPECT_EQ(outcome.states[4]["routeLabelCounter"], 2);
    // Forbidding a station of the route shows the detour at once: the route colour (0xFF00FF)
    // leaves the old way and takes the new one.
    EXPECT_EQ(Route(outcome.states[5]), map.RouteBetween(from, to, *middle));
    const std::vector<std::uint32_t> before = PngPixels(home.Root() / "on.png");
    const std::vector<std::uint32_t> after = PngPixels(home.Root() / "detour.png");
    ASSERT_EQ(after.size(), before.size());
    int left = 0, taken = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        left += before[i] == 0xFF00FFu && after[i] != 0xFF00FFu;
        taken += before[i] != 0xFF00FFu && after[i] == 0xFF00FFu;
    }
    EXPECT_GT(left, 20);
    EXPECT_GT(taken, 20);
    // Cleared ends take a saved route off the screen; one station as both ends has its details.
    Settings kept = home.Saved();
    kept.saveRoute = true;
    home.Save(kept);
    const Outcome clear = home.Run(
        "wait 10\nstate\ncommand ID_CLEAR_STATIONS\nwait 10\nstate\nshot cleared.png\ntap " +
        map.TapAt(to) + "\ncommand ID_DEPARTURE\ncommand ID_DESTINATION\ncommand ID_ROUTE_INFO\n" +
        "wait 10\nstate\n");
    ASSERT_EQ(clear.states.size(), 3u);
    EXPECT_FALSE(WindowOf(clear.states[2], "#32770").is_null());
    EXPECT_EQ(Route(clear.states[0]), map.RouteBetween(from, to));  // the saved ends, put back
    EXPECT_FALSE(HasTimer(clear.states[1], 2, 500));
    const std::vector<std::uint32_t> plain = PngPixels(home.Root() / "cleared.png");
    EXPECT_EQ(std::count(plain.begin(), plain.end(), 0xFF00FFu), 0);
}

TEST(MainWindow, AnEndThePickerRemovesTakesTheRouteWithIt) {
    const Home home;
    Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    home.Save({.mapPath = *Utf8ToUtf16(map.path),
               .departureIndex = tappable.front(),
               .destinationIndex = tappable.back(),
               .savedViewX = -40,
               .savedViewY = -30,
               .saveRoute = true});
    // With no row selected the departure button, where the approved picture has it, clears it.
    const Outcome outcome = home.Run(
        "wait 10\nstate\ncommand ID_STATION_LIST\nwait 10\ntap 120 249"
        "\nkey escape\nwait 10\nstate\nshot after.png\nwait 600\nstate\ncommand "
        "ID_ROUTE_INFO\nwait 10\nstate\n");
    ASSERT_EQ(outcome.states.size(), 4u);
    EXPECT_TRUE(HasTimer(outcome.states[0], 2, 500));  // the saved route, blinking
    EXPECT_EQ(outcome.states[0]["settings"]["savedViewX"], -40);
    EXPECT_EQ(outcome.states[0]["settings"]["savedViewY"], -30);
    const json& after = outcome.states[1];
    EXPECT_FALSE(HasTimer(after, 2, 500));
    // The page hands the keys back to the window.
    EXPECT_TRUE(WindowOf(after, "#32770").is_null());
    const json main = WindowOf(after, "QuorvaneWnd");
    EXPECT_TRUE(main["enabled"] && main["active"] && main["focus"]);
    EXPECT_TRUE(WindowOf(after, "QvShellNavigationBar")["doneButton"].is_null());
    // Nothing of the route is drawn (route colour 0xFF00FF).
    const std::vector<std::uint32_t> shot = PngPixels(home.Root() / "after.png");
    ASSERT_EQ(shot.size(), 240u * 320u);
    EXPECT_EQ(std::count(shot.begin(), shot.end(), 0xFF00FFu), 0);
    // The route details open on no route as they do when there never was one: not at all.
    EXPECT_EQ(outcome.states[3]["windows"], outcome.states[2]["windows"]);
}

TEST(MainWindow, AcceleratorsAndHelp) {
    const Home home;
    const Map map("example.qvn");
    // Ctrl+O does nothing; the last bar button, held, shows its tip; the help page is not beside
    // the test build, so its box shows; Ctrl+H opens the station list; F10 then Return the menu.
    const Outcome ctrlO = home.Run(
        "state\nkey ctrl+o\nstate\ndown 197 308\nwait 600\nstate\nup 197 308\nwait 10\nstate\n"
        "key return\nwait 10\nstate\nkey ctrl+h\nwait 10\nstate\nkey escape\nwait 10\nkey f10\n"
        "key return\nwait 10\nstate\n",
        map.path);
    ASSERT_EQ(ctrlO.states.size(), 7u);
    EXPECT_FALSE(WindowOf(ctrlO.states[6], "#32768").is_null());
    EXPECT_TRUE(WindowOf(ctrlO.states[4], "#32770").is_null());
    EXPECT_FALSE(WindowOf(ctrlO.states[5], "#32770").is_null());
    EXPECT_EQ(ctrlO.states[0], ctrlO.states[1]);
    EXPECT_EQ(WindowOf(ctrlO.states[2], "QvShellTooltip")["text"], "Помощь");
    EXPECT_EQ(ctrlO.states[3]["messageBoxes"], ErrorBoxes("Ошибка"));
    // Each way out saves the view the scale and a drag left.
    for (const char* key : {"key ctrl+q", "key alt+f4", "menu Выход"}) {
        const Outcome outcome =
            home.Run(std::string("command ID_SCALE\nstate\ndrag 100 120 130 110\n") + key +
                         "\nwait 10\nstate\n",
                     {});
        EXPECT_EQ(outcome.exitCode, 0) << key;
        ASSERT_EQ(outcome.states.size(), 1u) << key;
        const json& zoomed = outcome.states[0]["model"];
        EXPECT_TRUE(zoomed["zoomed"]);
        Settings kept = home.Saved();
        EXPECT_EQ(kept.savedZoom, 2) << key;
        EXPECT_EQ(json::array({kept.savedViewX - 30, kept.savedViewY + 10}), zoomed["view"]) << key;
        kept.savedZoom = 1;
        home.Save(kept);
    }
}

// Every page a user sees, played through and shot; the waits put the shots of the blinking route
// in the middle of its 500 ms phases. The names chosen on the settings page show at once.
TEST(Pages, EachPageLooksAsApproved) {
    const Home home;
    const Map map("zarechensk.qvn");
    const std::vector<int> tappable = map.Tappable();
    const std::string route = "tap " + map.TapAt(tappable.front()) +
                              "\ncommand ID_DEPARTURE\ntap " + map.TapAt(tappable.back()) +
                              "\ncommand ID_DESTINATION\nwait 250\n";
    // Station names, the keyboard picker and no transfers chosen on the settings page.
    const char settings[] =
        "tap 163 159\ntap 45 243\ntap 19 110\nkey end\nkey backspace\nkey 0\ntap 225 12\n";
    const Outcome scaled = home.Run(
        route + "shot route-on-k2.png\ncommand ID_SETTINGS\nwait 10\nshot settings-k2.png\n",
        "--scale 2 " + map.path);
    const Outcome tour = home.Run(
        "wait 10\nshot scheme.png\ntap 24 308\nwait 10\nshot menu.png\nstate\nkey escape\n"
        "command ID_LOAD_MAP\nwait 10\nshot open.png\nkey escape\n"
        "command ID_ABOUT\nwait 10\nshot about.png\nkey escape\n"
        "command ID_STATION_LIST\ntap 161 46\nwait 10\nshot picker-tabs.png\nkey escape\n" +
            route + "shot route-on.png\nwait 500\nshot route-off.png\n" +
            "command ID_ROUTE_INFO\nwait 10\nshot details.png\nkey escape\n"
            "command ID_CLEAR_STATIONS\ncommand ID_SCALE\ncommand ID_SETTINGS\nwait 10\n" +
            "shot settings.png\n" + settings + "wait 10\nshot zoomed.png\n" +
            "command ID_SCALE\ncommand ID_STATION_LIST\ntype л\nwait 10\nshot picker-keys.png\n" +
            "key escape\n" + route + "shot not-found.png\nkey return\nwait 10\n" +
            "menu Помощь\nwait 10\nshot help-error.png\n",
        map.path);
    for (const Outcome* run : {&scaled, &tour}) {
        EXPECT_EQ(std::pair(run->exitCode, run->errors), std::pair(0, std::string()));
    }
    for (const char* page : {"scheme", "menu", "open", "about", "picker-tabs", "route-on",
                             "route-off", "details", "settings", "zoomed", "picker-keys",
                             "not-found", "help-error", "route-on-k2", "settings-k2"}) {
        EXPECT_EQ(DifferingFromApproved(home, page + std::string(".png")), 0u) << page;
    }
    // The menu's rows lie one below the other, the bar's buttons side by side.
    const json items = WindowOf(tour.states.at(0), "#32768")["items"];
    for (std::size_t i = 1; i < items.size(); ++i) {
        EXPECT_EQ(items[i]["rect"][1], items[i - 1]["rect"][3]) << i;
    }
    const json buttons = WindowOf(tour.states.at(0), "QvShellMenuBar")["buttons"];
    for (std::size_t i = 1; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i][0], buttons[i - 1][2]) << i;
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
        for (const auto& entry : fs::recursive_directory_iterator(home.Root() / "run")) {
            if (entry.is_socket()) {
                return true;
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

// A second start raises the first and ends; one with a map the first refuses says so and fails;
// one with a map whose name is not UTF-8 hands it over by its bytes, and it is remembered.
TEST(ProgramStart, SecondStartRaisesTheFirstOrHandsItsMapOver) {
    const Home home;
    const std::string latin1 = "\xE9t\xE9.qvn";  // "été" in Latin-1
    fs::copy_file(kMaps / "example.qvn", home.Root() / latin1);
    const pid_t first =
        StartFirstCopy(home, "state\npause 3500\nstate\n", (kMaps / "zarechensk.qvn").string());
    const fs::file_time_type written = fs::last_write_time(home.SettingsFile());
    const Outcome second = home.Run("state\n", {}, "second");
    // Longer than any path the running copy takes.
    const Outcome refused = home.Run("state\n", "/" + std::string(32763, 'a') + ".qvn", "refused");
    // Longer than a request between copies carries: no answer comes.
    const std::string unsent = "/" + std::string(32764, 'a') + ".qvn";
    const Outcome unanswered = home.Run("state\n", unsent, "unanswered");
    EXPECT_EQ(fs::last_write_time(home.SettingsFile()), written);
    const Outcome handing = home.Run("state\n", (home.Root() / latin1).string(), "handing");
    int status = 0;
    waitpid(first, &status, 0);
    const Outcome firstOutcome = home.Collect(status, "first");
    for (const Outcome* ended : {&second, &handing}) {
        EXPECT_EQ(std::tuple(ended->exitCode, ended->states.size(), ended->errors),
                  std::tuple(0, 0u, std::string()));
    }
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.states.empty());
    EXPECT_EQ(refused.errors.rfind("quorvane: the running copy did not take /aaa", 0), 0u)
        << refused.errors.substr(0, 200);
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_EQ(unanswered.errors,
              "quorvane: the running copy did not answer; " + unsent + " is not loaded\n");
    ASSERT_EQ(firstOutcome.states.size(), 2u);
    EXPECT_EQ(firstOutcome.states[0]["model"]["name"], "Метро Зареченска");
    EXPECT_EQ(firstOutcome.states[1]["model"]["name"], "Пример");
    const std::u16string remembered =
        *Utf8ToUtf16(home.Root().string() + "/") + u"\xDCE9t\xDCE9.qvn";
    EXPECT_EQ(home.Saved().mapPath, remembered);
    // Started again, the remembered map loads.
    EXPECT_EQ(home.Run("state\n").states.at(0)["model"]["name"], "Пример");
}

}  // namespace
}  // namespace qv
