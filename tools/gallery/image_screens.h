#pragma once

#include "gallery_page.h"

namespace qv::gallery {

// The toolbar's image strip: in a bar as the toolbar draws it (silver taken for the background,
// one button pressed), as it is at its own size, and each image four times enlarged.
void BuildToolbarImageScreen(const Page& page);
// The application icon and the departure and destination icons at their own size and enlarged,
// and the endpoint icons on buttons as the station picker places them.
void BuildIconScreen(const Page& page);

}  // namespace qv::gallery
