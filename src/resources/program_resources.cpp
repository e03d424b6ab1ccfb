#include "resources/program_resources.h"

#include <string_view>

#include "platform/pocket/menu_bar_description.h"
#include "platform/pocket/toolbar_messages.h"
#include "platform/user/records/menu.h"
#include "resources/about_template.h"
#include "resources/main_window_resources.h"
#include "resources/page_templates.h"
#include "resources/program_images.h"
#include "resources/resource_ids.h"
#include "resources/settings_template.h"

namespace qv {

namespace {

// The main window's menu bar: one drop-down text button that opens the first submenu of menu
// IDR_MENUBAR; the toolbar's buttons are added by the window itself.
constexpr MenuBarButton kMainMenuBarButtons[] = {
    {I_IMAGENONE, ID_MENUBAR_SCHEME, TBSTATE_ENABLED, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE,
     IDS_MENUBAR_SCHEME, 0},
};
constexpr MenuBarDescription kMainMenuBar{IDR_MENUBAR, kMainMenuBarButtons};

// Letters of the palette (see PaletteColour): W white, K black, G green, g lime, R maroon,
// r red, C teal, c aqua, y yellow, B navy, b blue.
constexpr std::string_view kDepartureMarker[] = {
    "WWgGGGGgWW", "WgGggggGgW", "gGggGGggGg", "GgggGGgggG", "GgggGGgggG",
    "GgGgGGgGgG", "GggGGGGggG", "gGggGGggGg", "WgGggggGgW", "WWgGGGGgWW",
};
constexpr std::string_view kForbiddenMarker[] = {
    "WWrRRRRrWW", "WrRWWWWRrW", "rRRrWWWWRr", "RWrRrWWWWR", "RWWrRrWWWR",
    "RWWWrRrWWR", "RWWWWrRrWR", "rRWWWWrRRr", "WrRWWWWRrW", "WWrRRRRrWW",
};
constexpr std::string_view kDestinationMarker[] = {
    "WWrRRRRrWW", "WrRrrrrRrW", "rRrrRRrrRr", "RrrRRRRrrR", "RrRrRRrRrR",
    "RrrrRRrrrR", "RrrrRRrrrR", "rRrrRRrrRr", "WrRrrrrRrW", "WWrRRRRrWW",
};

// Front of a teal metro car with yellow lamps.
constexpr std::string_view kRouteTrain[] = {
    "WWWWKKKKKKKKWWWW", "WWWKCCCCCCCCKWWW", "WWKCCCCCCCCCCKWW", "WWKCKKKKKKKKCKWW",
    "WWKCKccccccKCKWW", "WWKCKccccccKCKWW", "WWKCKccccccKCKWW", "WWKCKKKKKKKKCKWW",
    "WWKCCCCCCCCCCKWW", "WWKCCCCCCCCCCKWW", "WWKCyyCCCCyyCKWW", "WWKCyyCCCCyyCKWW",
    "WWKCCCCCCCCCCKWW", "WWKKKKKKKKKKKKWW", "WWWKKWWWWWWKKWWW", "WWKKWWWWWWWWKKWW",
};
// Green disc, arrow down.
constexpr std::string_view kRouteDeparture[] = {
    "WWWWWWWWWWWWWWWW", "WWWWGGGGGGGGWWWW", "WWWGGggggggGGWWW", "WWGGgggGGgggGGWW",
    "WGGggggGGggggGGW", "WGgggggGGgggggGW", "WGgggggGGgggggGW", "WGgggggGGgggggGW",
    "WGgggggGGgggggGW", "WGggGGGGGGGGggGW", "WGgggGGGGGGgggGW", "WGGgggGGGGgggGGW",
    "WWGGgggGGgggGGWW", "WWWGGggggggGGWWW", "WWWWGGGGGGGGWWWW", "WWWWWWWWWWWWWWWW",
};
// Red disc, arrow up.
constexpr std::string_view kRouteDestination[] = {
    "WWWWWWWWWWWWWWWW", "WWWWRRRRRRRRWWWW", "WWWRRrrrrrrRRWWW", "WWRRrrrRRrrrRRWW",
    "WRRrrrRRRRrrrRRW", "WRrrrRRRRRRrrrRW", "WRrrRRRRRRRRrrRW", "WRrrrrrRRrrrrrRW",
    "WRrrrrrRRrrrrrRW", "WRrrrrrRRrrrrrRW", "WRrrrrrRRrrrrrRW", "WRRrrrrRRrrrrRRW",
    "WWRRrrrRRrrrRRWW", "WWWRRrrrrrrRRWWW", "WWWWRRRRRRRRWWWW", "WWWWWWWWWWWWWWWW",
};
// Walking figure.
constexpr std::string_view kRouteTransfer[] = {
    "WWWWWWWKKWWWWWWW", "WWWWWWKKKKWWWWWW", "WWWWWWKKKKWWWWWW", "WWWWWWWKKWWWWWWW",
    "WWWWWKKKKKWWWWWW", "WWWWKKKKKKKWWWWW", "WWWKKWKKKWKKWWWW", "WWKKWWKKKWWKKWWW",
    "WWWWWWKKKWWWWWWW", "WWWWWKKWKKWWWWWW", "WWWWWKKWWKKWWWWW", "WWWWKKWWWWKKWWWW",
    "WWWWKKWWWWWKKWWW", "WWWKKWWWWWWWKKWW", "WWKKKWWWWWWWWKKW", "WWWWWWWWWWWWWWWW",
};
// Blue disc with a white i.
constexpr std::string_view kRouteSummary[] = {
    "WWWWWWWWWWWWWWWW", "WWWWBBBBBBBBWWWW", "WWWBBbbbbbbBBWWW", "WWBBbbbWWbbbBBWW",
    "WBBbbbbWWbbbbBBW", "WBbbbbbbbbbbbbBW", "WBbbbbWWWbbbbbBW", "WBbbbbbWWbbbbbBW",
    "WBbbbbbWWbbbbbBW", "WBbbbbbWWbbbbbBW", "WBbbbbbWWbbbbbBW", "WBBbbbbWWbbbbBBW",
    "WWBBbbWWWWbbBBWW", "WWWBBbbbbbbBBWWW", "WWWWBBBBBBBBWWWW", "WWWWWWWWWWWWWWWW",
};

constexpr MenuItemTemplate kSchemeMenu[] = {
    MenuCommand(u"&Загрузить", ID_LOAD_MAP),
    MenuSeparator(),
    MenuCommand(u"&Станции по алфавиту", ID_STATION_LIST),
    MenuSeparator(),
    MenuCommand(u"Настройки", ID_SETTINGS),
    MenuCommand(u"Помощь", ID_HELP),
    // The O is the Latin capital O, the rest is Cyrillic.
    MenuCommand(u"&O программе", ID_ABOUT),
    MenuCommand(u"Вы&ход", ID_EXIT),
};
constexpr MenuItemTemplate kMenuBarItems[] = {MenuPopup(u"&Схема", kSchemeMenu)};
constexpr MenuTemplate kMenuBar{kMenuBarItems};

ResourceModule MakeModule() {
    ResourceModule module;
    module.AddString(IDS_TITLE, u"Схема метро");
    // The first letter is the Latin capital C, the other four are Cyrillic.
    module.AddString(IDS_MENUBAR_SCHEME, u"Cхема");
    module.AddResource(IDR_MENUBAR, kMenuBar);
    module.AddBitmap(IDB_DEPARTURE_MARKER, {10, 10, kDepartureMarker});
    module.AddBitmap(IDB_FORBIDDEN_MARKER, {10, 10, kForbiddenMarker});
    module.AddBitmap(IDB_DESTINATION_MARKER, {10, 10, kDestinationMarker});
    module.AddBitmap(IDB_ROUTE_TRAIN, {16, 16, kRouteTrain});
    module.AddBitmap(IDB_ROUTE_DEPARTURE, {16, 16, kRouteDeparture});
    module.AddBitmap(IDB_ROUTE_DESTINATION, {16, 16, kRouteDestination});
    module.AddBitmap(IDB_ROUTE_TRANSFER, {16, 16, kRouteTransfer});
    module.AddBitmap(IDB_ROUTE_SUMMARY, {16, 16, kRouteSummary});
    module.AddResource(IDR_MENUBAR, kMainMenuBar);
    AddMainWindowResources(module);
    module.AddResource(IDD_STATION_PICKER, kStationPickerTemplate);
    module.AddResource(IDD_ROUTE_DETAILS, kRouteDetailsTemplate);
    AddProgramImages(module);
    AddSettingsTemplate(module);
    AddAboutTemplate(module);
    return module;
}

}  // namespace

HINSTANCE ProgramModule() {
    static const ResourceModule module = MakeModule();
    return &module;
}

}  // namespace qv
