#pragma once

#include <string_view>

#include "platform/gdi/device_context.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The drawing steps the controls share, in the device's classic 3-D look.

enum class Bevel { Raised, Sunken, Pushed };

void FillWithColour(HDC dc, const RECT& rect, int systemColour);
// A two-pixel bevel just inside the rectangle, which it returns shrunk by the bevel.
RECT DrawBevel(HDC dc, const RECT& rect, Bevel bevel);
// A one-pixel frame of the colour just inside the rectangle; returns what is inside it.
RECT DrawFrame(HDC dc, const RECT& rect, int systemColour);
// The dotted rectangle of the control that has the keyboard.
void DrawFocusFrame(HDC dc, const RECT& rect);
// A tick inside the square.
void DrawCheckMark(HDC dc, const RECT& box, int systemColour);

// The font a control draws with: the one given by WM_SETFONT, or the system's.
HFONT ControlFont(HFONT given);
// The text's width and height in logical pixels with the font selected into the surface.
SIZE MeasureText(HDC dc, std::u16string_view text);
// The brush the parent wants behind the control (`colourMessage` is one of WM_CTLCOLOR...),
// or the dialog's background when the parent leaves it.
HBRUSH ParentBackground(HWND control, HDC dc, UINT colourMessage);

// A rectangle with sides moved inwards (outwards when negative).
RECT Shrunk(const RECT& rect, int dx, int dy);

}  // namespace qv
