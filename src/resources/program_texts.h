#pragma once

#include <span>
#include <string>
#include <string_view>

#include "text/language.h"
#include "text/text_table.h"

namespace qv {

// The program's own texts. A pattern's %1, %2 are filled by the code that shows it.
enum class TextId {
    Title,  // the main window's title before a map is loaded
    MenuScheme,
    MenuBarScheme,
    MenuLoad,
    MenuStationList,
    MenuSettings,
    MenuHelp,
    MenuAbout,
    MenuExit,
    TipDeparture,
    TipDestination,
    TipClearStations,
    TipForbiddenStation,
    TipStationList,
    TipRouteInfo,
    TipScale,
    TipHelp,
    ErrorCaption,
    InformationCaption,
    MapNotLoaded,
    HelpNotOpened,
    RouteNotFound,
    SettingsNotSaved,
    PickerCaption,
    PickerDeparture,
    PickerDestination,
    PickerLine,  // %1: the line's name
    RouteDetailsCaption,
    RouteSummary,  // %1: stations, %2: transfers
    RouteTime,     // %1: minutes
    RouteTransfer,
    SettingsAlgorithm,
    SettingsByTransfers,
    SettingsByTime,
    SettingsCountWait,
    SettingsMaxTransfers,
    SettingsTooltipTime,
    SettingsMilliseconds,
    SettingsDisplay,
    SettingsStationNames,
    SettingsRoute,
    SettingsRouteLine,
    SettingsRouteStations,
    SettingsRouteBlink,
    SettingsFont,
    SettingsPicker,
    SettingsPickKeyboard,
    SettingsPickTabs,
    SettingsSave,
    SettingsSaveRoute,
    SettingsSaveZoom,
    SettingsSavePosition,
    AboutPurpose,
    AboutVersion,  // %1: the version number
    HelpPage,      // the help page's file name
    Count
};

// The tables, one per language, each with every id once.
std::span<const TextEntry<TextId>> RussianTexts();
std::span<const TextEntry<TextId>> EnglishTexts();
std::span<const TextEntry<TextId>> ProgramTexts(Language language);

// A text in the given language, and in the user interface's.
std::u16string_view TextIn(Language language, TextId id);
std::u16string_view Text(TextId id);
// The pattern of `id` in the user interface's language, filled with the values.
std::u16string FormatText(TextId id, std::initializer_list<std::u16string_view> values);

}  // namespace qv
