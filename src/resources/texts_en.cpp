#include "resources/program_texts.h"

namespace qv {

namespace {

using enum TextId;

constexpr TextEntry<TextId> kTexts[] = {
    {Title, u"Metro map"},
    {MenuScheme, u"&Map"},
    {MenuBarScheme, u"Map"},
    {MenuLoad, u"&Load map"},
    {MenuStationList, u"&Stations A-Z"},
    {MenuSettings, u"Settings"},
    {MenuHelp, u"Help"},
    {MenuAbout, u"&About"},
    {MenuExit, u"E&xit"},
    {TipDeparture, u"Departure station"},
    {TipDestination, u"Destination station"},
    {TipClearStations, u"Clear stations"},
    {TipForbiddenStation, u"Forbidden station"},
    {TipStationList, u"Stations A-Z"},
    {TipRouteInfo, u"Route details"},
    {TipScale, u"Zoom"},
    {TipHelp, u"Help"},
    {ErrorCaption, u"Error"},
    {InformationCaption, u"Information"},
    {MapNotLoaded, u"Unsupported map format"},
    {HelpNotOpened, u"Could not open help"},
    {RouteNotFound, u"No route found"},
    {SettingsNotSaved, u"Settings not saved: the settings file could not be written."},
    {PickerCaption, u"Stations"},
    {PickerDeparture, u"Departure station"},
    {PickerDestination, u"Destination station"},
    {PickerLine, u"(%1 line)"},
    {RouteDetailsCaption, u"Route details"},
    {RouteSummary, u"Stations %1, transfers %2"},
    {RouteTime, u"Travel time %1 min"},
    {RouteTransfer, u"Change to line"},
    {SettingsAlgorithm, u"Route choice"},
    {SettingsByTransfers, u"fewest transfers"},
    {SettingsByTime, u"shortest time"},
    {SettingsCountWait, u"count waiting time"},
    {SettingsMaxTransfers, u"most transfers allowed"},
    {SettingsTooltipTime, u"Show tooltip for"},
    {SettingsMilliseconds, u"ms"},
    {SettingsDisplay, u"Display"},
    {SettingsStationNames, u"station names"},
    {SettingsRoute, u"Route"},
    {SettingsRouteLine, u"line"},
    {SettingsRouteStations, u"stations"},
    {SettingsRouteBlink, u"blinking"},
    {SettingsFont, u"font"},
    {SettingsPicker, u"Choose stations with"},
    {SettingsPickKeyboard, u"keyboard"},
    {SettingsPickTabs, u"letter tabs"},
    {SettingsSave, u"Remember"},
    {SettingsSaveRoute, u"route"},
    {SettingsSaveZoom, u"zoom"},
    {SettingsSavePosition, u"position"},
    {AboutPurpose, u"Metro map and route finder"},
    {HelpPage, u"quorvane.en.html"},
    {AboutVersion, u"Version %1"},
};

}  // namespace

std::span<const TextEntry<TextId>> EnglishTexts() {
    return kTexts;
}

}  // namespace qv
