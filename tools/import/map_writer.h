#pragma once

#include <string>

#include "scheme_draft.h"

namespace qv::import {

// The map text of a scheme: every section, every field ended by ";", every line by CR LF, and
// the byte-order mark first. Optional fields are written so that the reader takes them: the
// label zoom as two digits, because a last field of two characters would be skipped.
std::u16string WriteMapText(const DraftScheme& scheme);

// The text as UTF-16LE bytes, as map files are stored.
std::string MapFileBytes(const std::u16string& text);

}  // namespace qv::import
