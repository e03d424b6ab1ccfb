#pragma once

#include "gallery_page.h"

namespace qv::gallery {

// The open-file page over the maps that come with the program.
void BuildOpenFileScreen(const Page& page);

}  // namespace qv::gallery
