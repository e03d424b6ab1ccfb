#include "resources/program_resources.h"

#include <string_view>

#include "platform/pocket/menu_bar_description.h"
#include "platform/pocket/toolbar_messages.h"
#include "platform/user/records/menu.h"
#include "resources/about_template.h"
#include "resources/main_window_resources.h"
#include "resources/page_templates.h"
#include "resources/program_images.h"
#include "resources/program_texts.h"
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

// The menu bar's menu in one language; its items refer to each other, so it stays where it is made.
class LocalizedMenu {
  public:
    explicit LocalizedMenu(Language language)
        : scheme_{
              MenuCommand(TextIn(language, TextId::MenuLoad), ID_LOAD_MAP),
              MenuSeparator(),
              MenuCommand(TextIn(language, TextId::MenuStationList), ID_STATION_LIST),
              MenuSeparator(),
              MenuCommand(TextIn(language, TextId::MenuSettings), ID_SETTINGS),
              MenuCommand(TextIn(language, TextId::MenuHelp), ID_HELP),
              MenuCommand(TextIn(language, TextId::MenuAbout), ID_ABOUT),
              MenuCommand(TextIn(language, TextId::MenuExit), ID_EXIT),
          },
          bar_{MenuPopup(TextIn(language, TextId::MenuScheme), scheme_)},
          menu_{bar_} {}
    LocalizedMenu(const LocalizedMenu&) = delete;
    LocalizedMenu& operator=(const LocalizedMenu&) = delete;

    const MenuTemplate& Template() const { return menu_; }

  private:
    MenuItemTemplate scheme_[8];
    MenuItemTemplate bar_[1];
    MenuTemplate menu_;
};

ResourceModule MakeModule() {
    ResourceModule module;
    static const LocalizedMenu menus[] = {LocalizedMenu(kLanguages[0]),
                                          LocalizedMenu(kLanguages[1])};
    static_assert(std::size(menus) == std::size(kLanguages));
    for (std::size_t i = 0; i < std::size(kLanguages); ++i) {
        const Language language = kLanguages[i];
        module.AddString(language, IDS_TITLE, TextIn(language, TextId::Title));
        module.AddString(language, IDS_MENUBAR_SCHEME, TextIn(language, TextId::MenuBarScheme));
        module.AddResource(language, IDR_MENUBAR, menus[i].Template());
    }
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
    AddStationPickerTemplate(module);
    AddRouteDetailsTemplate(module);
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
