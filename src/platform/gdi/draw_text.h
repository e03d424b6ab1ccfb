#pragma once

#include <string_view>

#include "platform/gdi/device_context.h"

namespace qv {

// Draws text in the rectangle as the format says (DT_LEFT, DT_CENTER, DT_RIGHT, DT_TOP,
// DT_VCENTER and DT_BOTTOM with DT_SINGLELINE, DT_WORDBREAK, DT_NOCLIP), clipped to it, with
// the current font and text colour; in OPAQUE mode each line's cell is filled with the
// background colour first. With DT_END_ELLIPSIS a line wider than the rectangle ends in "..."
// in place of the tail that does not fit. With DT_CALCRECT nothing is drawn and the rectangle's
// right and bottom are set to fit the text. `count` -1 means up to the terminating null. Returns
// the height of the text.
int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format);
int DrawTextW(HDC dc, std::u16string_view text, RECT* rect, UINT format);

}  // namespace qv
