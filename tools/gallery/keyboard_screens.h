#pragma once

#include "gallery_page.h"

namespace qv::gallery {

// The input panel up over a page whose edit it has typed into: in the Russian layout, with a key
// held down and shown enlarged above it; in the Latin layout with Caps on; in the digits and
// punctuation layout.
void BuildRussianKeyboard(const Page& page);
void BuildHeldKey(const Page& page);
void BuildLatinKeyboard(const Page& page);
void BuildSymbolKeyboard(const Page& page);

}  // namespace qv::gallery
