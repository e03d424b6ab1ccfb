#pragma once

#include <optional>

#include "platform/gdi/gdi_objects.h"
#include "platform/user/records/user_types.h"

namespace qv {

// A bold copy of the font the control draws with, in another character set when one is given.
UniqueFont MakeBoldFontOf(HWND control, std::optional<BYTE> charSet = std::nullopt);

// Gives the font to the control, which redraws itself with it.
void SetControlFont(HWND control, HFONT font);

}  // namespace qv
