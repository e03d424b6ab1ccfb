#pragma once

#include "gallery_page.h"

namespace qv::gallery {

// The main window's menu open upwards from the bottom of the screen, where the menu bar lies,
// with "Станции по алфавиту" highlighted; beside it a menu with a greyed item and a highlighted
// one, opened leftwards from the top right.
void BuildMenuScreen(const Page& page);

}  // namespace qv::gallery
