#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "gallery_page.h"
#include "platform/gdi/gdi_objects.h"

namespace qv::gallery {

// One screen of the gallery: a control family in each of its states. A new control gets a new
// screen, a row of Screens().
struct Screen {
    std::string_view name;
    void (*build)(const Page& page);
};

std::span<const Screen> Screens();

// The screen a turn from the shown one goes to (forward: kTurnScreen's wParam is not 0), round
// from the last to the first and back.
std::size_t TurnedScreen(std::size_t shown, bool forward);

// The fonts of the program's dialogs: 8 points, normal and bold.
struct DialogFonts {
    UniqueFont normal;
    UniqueFont bold;
    DialogFonts();
};

// Registers the controls and the gallery's page in the current window system.
bool StartControls();

// A full-screen page showing the screen of that number, with the buttons that turn the screens
// when asked for.
HWND MakePage(const DialogFonts& fonts, std::size_t screen, bool withNavigation);

}  // namespace qv::gallery
