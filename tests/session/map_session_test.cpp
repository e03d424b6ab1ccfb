#include "session/map_session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/pocket/scratch_folder.h"
#include "settings/settings_file.h"
#include "text/utf.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A ring: Альфа - Бета - Гамма takes 2 minutes, Альфа - Дельта - п - Гамма 10; п is a shape point.
constexpr char kRing[] =
    "[NAME]\r\nКольцо;1;0;2;2;\r\n[MAP]\r\n0;0;3;4;1;FF00FFh;-10;\r\n[LINES]\r\n"
    "1;Кольцевая;0080FFh;1;5;2;\r\n[STATION]\r\n"
    "1;1;S;Альфа;20;60;1;\r\n1;2;S;Бета;60;60;1;\r\n1;3;S;Гамма;100;60;5;\r\n"
    "1;4;P;п;100;140;1;\r\n1;5;S;Дельта;60;140;5;\r\n[CROSS]\r\n[TABLETTERS]\r\n1;\r\nА\r\n";

struct Place {
    const char16_t* name;
    int x;
    int y;
};
constexpr Place kAlpha{u"Альфа", 20, 60};
constexpr Place kBeta{u"Бета", 60, 60};
constexpr Place kGamma{u"Гамма", 100, 60};
constexpr Place kDelta{u"Дельта", 60, 140};
constexpr Place kNowhere{u"", 200, 250};

class RecordedFeedback final : public RouteSearchFeedback {
  public:
    void BeginWait() override {
        ++waits;
        ++busy;
    }
    void EndWait() override { --busy; }
    void ShowRouteNotFound() override { ++notFound; }

    int waits = 0;
    int busy = 0;
    int notFound = 0;
};

class MapSessionTest : public ::testing::Test {
  protected:
    MapSessionTest() {
        // The shortest time decides, so that each route has one answer.
        Settings settings;
        settings.algorithm = 1;
        Remember(settings);
        map = scratch.Write("maps/ring.qvn", kRing);
        scratch.Write("maps/flat.qvn",
                      std::string(kRing).replace(std::string(kRing).find(";2;2;"), 5, ";1;1;"));
    }

    // The settings file of a run, as the program left it.
    Settings Saved() const {
        Settings saved;
        EXPECT_EQ(LoadSettings(saved, settingsFile), 1);
        return saved;
    }
    void Remember(const Settings& settings) const {
        fs::create_directories(settingsFile.parent_path());
        ASSERT_EQ(SaveSettings(settings, settingsFile), 1);
    }
    // A run of the program up to its map, loaded: the map the settings remember, or else the
    // one the user is asked for.
    void Start(MapSession& session, const fs::path& path) const {
        const std::u16string wanted = Utf8ToUtf16(path.string()).value();
        if (session.Begin(u"") != wanted) {
            session.NameMap(wanted);
        }
        MapError error;
        ASSERT_FALSE(session.LoadMap(wanted, error).noMap) << error.reason;
    }
    static void Tap(MapSession& session, const Place& place) {
        session.Tap(place.x, place.y, place.x, place.y);
    }
    static void Choose(MapSession& session, const Place& departure, const Place& destination) {
        Tap(session, departure);
        session.ChooseDeparture();
        Tap(session, destination);
        session.ChooseDestination();
    }
    static std::vector<std::u16string> Names(MapSession& session,
                                             const std::vector<std::int32_t>& indices) {
        std::vector<std::u16string> names;
        for (const std::int32_t index : indices) {
            names.push_back(session.Map()->Stations()[static_cast<std::size_t>(index)]->name);
        }
        return names;
    }
    static std::u16string NameOf(const std::optional<StationMark>& mark) {
        return mark ? mark->name : u"";
    }

    testing::ScratchFolder scratch;
    fs::path map;
    fs::path settingsFile = scratch.Path() / "config" / "quorvane.ini";
    RecordedFeedback feedback;
};

using Route = std::vector<std::u16string>;
const Route kABG{u"Альфа", u"Бета", u"Гамма"};
const Route kDG{u"Дельта", u"п", u"Гамма"};

TEST_F(MapSessionTest, TheTappedStationBecomesAnEndAndBothEndsFindTheRoute) {
    struct Step {
        const Place* tap;  // null: no tap before the command
        SessionChange (MapSession::*command)();
        SessionChange change;
        std::u16string departure;
        std::u16string destination;
        Route route;
    };
    const SessionChange saved{.ends = true, .settingsSaved = true};
    const SessionChange searched{.ends = true, .routeSearched = true, .settingsSaved = true};
    const SessionChange cleared{.ends = true, .noRoute = true, .settingsSaved = true};
    const Step steps[] = {
        // Nothing is picked out before the first tap.
        {nullptr, &MapSession::ChooseDeparture, {}, u"", u"", {}},
        {&kAlpha, &MapSession::ChooseDeparture, saved, u"Альфа", u"", {}},
        {&kGamma, &MapSession::ChooseDestination, searched, u"Альфа", u"Гамма", kABG},
        // A tap beside every station picks none, and the command does nothing: the route stays.
        {&kNowhere, &MapSession::ChooseDeparture, {.noRoute = false}, u"Альфа", u"Гамма", kABG},
        {&kDelta, &MapSession::ChooseDeparture, searched, u"Дельта", u"Гамма", kDG},
        // The same station at both ends.
        {&kGamma, &MapSession::ChooseDeparture, searched, u"Гамма", u"Гамма", {u"Гамма"}},
        // Cleared, a destination alone waits for the departure.
        {nullptr, &MapSession::ClearStations, cleared, u"", u"", {}},
        {&kBeta, &MapSession::ChooseDestination, saved, u"", u"Бета", {}},
    };
    MapSession session(settingsFile, feedback);
    Start(session, map);
    for (const Step& step : steps) {
        const std::string what = step.tap ? Utf16ToUtf8(step.tap->name) : "no tap";
        if (step.tap) {
            Tap(session, *step.tap);
        }
        EXPECT_EQ((session.*step.command)(), step.change) << what;
        const SessionSnapshot now = session.Snapshot();
        EXPECT_EQ(NameOf(now.map->departure), step.departure) << what;
        EXPECT_EQ(NameOf(now.map->destination), step.destination) << what;
        EXPECT_EQ(Names(session, now.map->route), step.route) << what;
        EXPECT_EQ(now.map->stations, 5) << what;  // the shape point too
    }
    // The ends are remembered for the next run, by their station-index numbers.
    EXPECT_EQ(std::pair(Saved().departureIndex, Saved().destinationIndex), std::pair(-1, 1));
}

TEST_F(MapSessionTest, AForbiddenStationOnTheRouteSendsItRoundAndCannotBeAnEnd) {
    MapSession session(settingsFile, feedback);
    Start(session, map);
    Choose(session, kAlpha, kGamma);
    struct Step {
        const Place* tap;
        SessionChange change;
        Route route;
        std::vector<std::u16string> forbidden;
        int notFound;
    };
    const SessionChange detour{.forbidden = true, .routeSearched = true};
    const Step steps[] = {
        {&kBeta, detour, {u"Альфа", u"Дельта", u"п", u"Гамма"}, {u"Бета"}, 0},
        // Both ways closed: the user is told, and no route is shown.
        {&kDelta, detour, {}, {u"Бета", u"Дельта"}, 1},
        {&kBeta, detour, kABG, {u"Дельта"}, 1},
        {&kNowhere, {}, kABG, {u"Дельта"}, 1},
    };
    for (const Step& step : steps) {
        const std::string what = Utf16ToUtf8(step.tap->name);
        Tap(session, *step.tap);
        EXPECT_EQ(session.ToggleForbiddenStation(), step.change) << what;
        const SessionSnapshot now = session.Snapshot();
        EXPECT_EQ(Names(session, now.map->route), step.route) << what;
        EXPECT_EQ(Names(session, now.map->forbidden), step.forbidden) << what;
        EXPECT_EQ(feedback.notFound, step.notFound) << what;
        EXPECT_EQ(feedback.busy, 0) << what;
    }
    // A forbidden station is no end; with one end only, forbidding searches for nothing.
    session.ClearStations();
    Choose(session, kAlpha, kDelta);
    EXPECT_EQ(NameOf(session.Snapshot().map->destination), u"");
    Tap(session, kBeta);
    EXPECT_EQ(session.ToggleForbiddenStation(), SessionChange{.forbidden = true});
}

TEST_F(MapSessionTest, ClearingForgetsBothSavedEndsButKeepsTheForbiddenStations) {
    Remember({.mapPath = u"", .algorithm = 1, .saveRoute = true});
    {
        MapSession session(settingsFile, feedback);
        Start(session, map);
        Tap(session, kBeta);
        session.ToggleForbiddenStation();
        Choose(session, kAlpha, kDelta);
    }
    // The next run puts the remembered ends back and finds their route, from the one to the other.
    MapSession next(settingsFile, feedback);
    Start(next, map);
    EXPECT_EQ(Names(next, next.Snapshot().map->route), (Route{u"Альфа", u"Дельта"}));

    Tap(next, kGamma);
    next.ToggleForbiddenStation();
    next.ClearStations();
    EXPECT_EQ(Names(next, next.Snapshot().map->forbidden), (Route{u"Гамма"}));
    EXPECT_EQ(std::pair(Saved().departureIndex, Saved().destinationIndex), std::pair(-1, -1));

    // A run that remembers one end puts it back and searches for nothing.
    Remember({.mapPath = u"", .departureIndex = 0, .algorithm = 1, .saveRoute = true});
    MapSession oneEnd(settingsFile, feedback);
    Start(oneEnd, map);
    EXPECT_EQ(NameOf(oneEnd.Snapshot().map->departure), u"Альфа");
    EXPECT_EQ(feedback.notFound, 0);
    EXPECT_EQ(oneEnd.LeaveMap(),
              (SessionChange{.ends = true, .noRoute = true, .settingsSaved = true}));
}

// A map without a zoom factor has one scale only, and an unzoomed view does not move.
TEST_F(MapSessionTest, TheScaleSwitchesAndADragMovesOnlyAZoomedViewWhichTheEndSaves) {
    {
        MapSession flat(settingsFile, feedback);
        Start(flat, scratch.Path() / "maps/flat.qvn");
        EXPECT_EQ(flat.ToggleScale(), SessionChange{});
        EXPECT_EQ(flat.Snapshot().map->scale, 1);
    }
    MapSession session(settingsFile, feedback);
    Start(session, map);
    EXPECT_EQ(session.Tap(100, 100, 130, 90), SessionChange{});
    EXPECT_EQ(std::pair(session.Snapshot().map->viewX, session.Snapshot().map->zoomFactor),
              std::pair(0, 2));
    EXPECT_EQ(session.ToggleScale(), (SessionChange{.scale = true, .view = true}));
    EXPECT_EQ(session.Snapshot().map->scale, 2);
    // Slanted, across only, and down only, each from (100, 100).
    for (const auto& [toX, toY] : {std::pair{130, 90}, std::pair{80, 100}, std::pair{100, 125}}) {
        const MapSnapshot before = *session.Snapshot().map;
        EXPECT_EQ(session.Tap(100, 100, toX, toY), SessionChange{.view = true});
        EXPECT_EQ(std::pair(session.Snapshot().map->viewX, session.Snapshot().map->viewY),
                  std::pair(before.viewX + toX - 100, before.viewY + toY - 100));
    }
    // A drag that ends on a station picks it out.
    const std::int32_t x = 2 * kBeta.x + session.Snapshot().map->viewX;
    const std::int32_t y = 2 * kBeta.y + session.Snapshot().map->viewY;
    EXPECT_EQ(session.Tap(x - 5, y, x, y), (SessionChange{.view = true, .picked = true}));
    EXPECT_EQ(NameOf(session.Snapshot().map->picked), u"Бета");
    session.ChooseDeparture();  // the pick, not the departure, goes when its callout does
    session.DropPick();
    EXPECT_EQ(session.Snapshot().map->picked, std::nullopt);

    EXPECT_EQ(session.SaveView(), SessionChange{.settingsSaved = true});
    const MapSnapshot last = *session.Snapshot().map;
    EXPECT_EQ(std::tuple(Saved().savedZoom, Saved().savedViewX, Saved().savedViewY),
              std::tuple(2, last.viewX, last.viewY));
    fs::remove(settingsFile);  // a folder in its place cannot be replaced
    fs::create_directories(settingsFile / "x");
    EXPECT_EQ(session.SaveView(), SessionChange{});
}

TEST_F(MapSessionTest, TheSavedViewIsTakenAtTheStartOnlyWhenThePositionIsSaved) {
    // Without the saved position the view of the saved zoom shows the image's middle: (120, 160)
    // at twice the scale put at the window's middle.
    for (const bool savePosition : {true, false}) {
        Settings remembered{.mapPath = u"", .savedZoom = 2, .savedViewX = -40, .savedViewY = -30};
        remembered.saveZoom = true;
        remembered.savePosition = savePosition;
        Remember(remembered);
        MapSession session(settingsFile, feedback);
        Start(session, map);
        EXPECT_EQ(std::pair(session.Snapshot().map->viewX, session.Snapshot().map->viewY),
                  savePosition ? std::pair(-40, -30) : std::pair(120 - 2 * 120, 160 - 2 * 160));
    }
}

TEST_F(MapSessionTest, WithoutAMapEveryCommandDoesNothing) {
    fs::remove(settingsFile);
    MapSession session(settingsFile, feedback);
    EXPECT_EQ(session.Begin(u""), u"");
    MapError error;
    EXPECT_EQ(session.LoadMap(u"/no/such/map.qvn", error), SessionChange{.noMap = true});
    EXPECT_FALSE(error.reason.empty());
    EXPECT_EQ(session.Tap(20, 60, 20, 60), SessionChange{.noMap = true});
    for (const auto command :
         {&MapSession::ChooseDeparture, &MapSession::ChooseDestination,
          &MapSession::ToggleForbiddenStation, &MapSession::ClearStations, &MapSession::ToggleScale,
          &MapSession::TakePickerEnds, &MapSession::ReloadSettings, &MapSession::SaveView}) {
        EXPECT_EQ((session.*command)(), SessionChange{.noMap = true});
    }
    EXPECT_EQ(session.Snapshot().map, std::nullopt);
    EXPECT_FALSE(fs::exists(settingsFile));
}

TEST_F(MapSessionTest, AMapNamedAtTheStartReplacesTheRememberedOneAndItsPlaces) {
    const Settings remembered{.mapPath = u"/old/map.qvn",
                              .departureIndex = 1,
                              .destinationIndex = 2,
                              .savedZoom = 2,
                              .savedViewX = -40,
                              .savedViewY = -30,
                              .algorithm = 1};
    Remember(remembered);
    MapSession old(settingsFile, feedback);
    EXPECT_EQ(old.Begin(u""), u"/old/map.qvn");
    EXPECT_EQ(old.CurrentSettings(), remembered);
    // The remembered ends and view go with the remembered map; the other settings are the user's.
    MapSession named(settingsFile, feedback);
    EXPECT_EQ(named.Begin(u"/new/map.qvn"), u"/new/map.qvn");
    EXPECT_EQ(named.CurrentSettings(),
              (Settings{.mapPath = named.CurrentSettings().mapPath, .algorithm = 1}));
    // Nothing is written before a map has been loaded.
    EXPECT_EQ(Saved(), remembered);
}

TEST_F(MapSessionTest, ThePickerAndTheSettingsPageSearchAgainOnlyWithBothEnds) {
    MapSession session(settingsFile, feedback);
    Start(session, map);
    // The picker sets the ends on the map itself.
    NetworkModel& network = *session.Map();
    network.departure = network.Stations()[0];
    network.destination = network.Stations()[2];
    EXPECT_EQ(session.TakePickerEnds(),
              (SessionChange{.routeSearched = true, .settingsSaved = true}));
    EXPECT_EQ(Names(session, session.Snapshot().map->route), kABG);
    EXPECT_EQ(std::pair(Saved().departureIndex, Saved().destinationIndex), std::pair(0, 2));

    // The page writes the file; the session reads it back and searches with the new limit.
    Settings page = Saved();
    page.maxTransfers = 0;
    page.routeBlink = false;
    Remember(page);
    const int waits = feedback.waits;
    EXPECT_EQ(session.ReloadSettings(), SessionChange{.routeSearched = true});
    EXPECT_EQ(feedback.waits, waits + 1);
    EXPECT_EQ(session.CurrentSettings().maxTransfers, 0);
    EXPECT_TRUE(session.RouteAnimated());  // by the callouts alone

    network.destination = nullptr;
    EXPECT_EQ(session.TakePickerEnds(), SessionChange{.noRoute = true});
    EXPECT_TRUE(session.Snapshot().map->route.empty());
    std::swap(page.routeBlink, page.routeShowStations);
    Remember(page);
    EXPECT_EQ(session.ReloadSettings(), SessionChange{.noRoute = true});
    EXPECT_TRUE(session.RouteAnimated());  // by the blinking alone
    EXPECT_EQ(feedback.waits, waits + 1);
    // Names, and a route line that does not blink, are in the kept image: a change redraws it.
    for (bool Settings::*drawn :
         {&Settings::routeBlink, &Settings::routeShowLine, &Settings::showStationNames}) {
        network.memoryDc = std::make_unique<SchemeImage>();
        page.*drawn = !(page.*drawn);
        Remember(page);
        session.ReloadSettings();
        EXPECT_EQ(network.memoryDc, nullptr);
    }
}

}  // namespace
}  // namespace qv
