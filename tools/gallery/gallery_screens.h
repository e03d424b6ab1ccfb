#pragma once

#include <span>
#include <string_view>

#include "gallery_page.h"

namespace qv::gallery {

// One screen of the gallery: a control family in each of its states. A new control gets a new
// screen, a row of Screens().
struct Screen {
    std::string_view name;
    void (*build)(const Page& page);
};

std::span<const Screen> Screens();

}  // namespace qv::gallery
