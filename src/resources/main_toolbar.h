#pragma once

// The toolbar of the main window's menu bar as the window's creation hands it over: the tooltip
// texts by button position (entry 0 is the menu button's, empty) and the eight buttons, each
// with its image in the toolbar strip and its command.

#include <array>

#include "platform/pocket/toolbar_messages.h"
#include "resources/resource_ids.h"
#include "text/language.h"

namespace qv {

// In the language selected with SelectProgramLanguage (Russian until then).
extern const char16_t* kMainToolbarTooltips[9];

// Selects the user interface's language for the whole program: the modules' strings and
// resources, the texts and the tooltips above.
void SelectProgramLanguage(Language language);

// The images the program asks for from its nine-image strip.
inline constexpr int kMainToolbarImageCount = 15;

inline constexpr std::array<TBBUTTON, 8> kMainToolbarButtons = [] {
    constexpr int commands[] = {
        ID_DEPARTURE,    ID_DESTINATION, ID_CLEAR_STATIONS, ID_FORBIDDEN_STATION,
        ID_STATION_LIST, ID_ROUTE_INFO,  ID_SCALE,          ID_HELP};
    std::array<TBBUTTON, 8> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = {static_cast<int>(i), commands[i], TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0};
    }
    return buttons;
}();

}  // namespace qv
