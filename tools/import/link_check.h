#pragma once

#include <string>

#include "source_network.h"

namespace qv::import {

// What is wrong with the lines' links, for the user: a link that does not join two stations, a
// pair linked twice on one line, or no link at all; empty when nothing is.
std::string CheckLinks(const SourceNetwork& network);

}  // namespace qv::import
