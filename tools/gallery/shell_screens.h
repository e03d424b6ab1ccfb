#pragma once

#include "gallery_page.h"

namespace qv::gallery {

// The shell around the main window: the navigation bar with its title, the menu bar with the
// "Cхема" button and the eight toolbar buttons, and the tooltip of the first one showing.
void BuildShellBarsScreen(const Page& page);
// The "Cхема" button's menu open upwards from the menu bar.
void BuildShellMenuScreen(const Page& page);
// A full-screen page set up with the Done button over the main window: the navigation bar shows
// its title and "ok", the main window's menu bar is hidden under it.
void BuildShellPageScreen(const Page& page);

}  // namespace qv::gallery
