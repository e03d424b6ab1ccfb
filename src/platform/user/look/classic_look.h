#pragma once

// Drawing steps of the device's classic three-dimensional look, shared by the controls.

#include "platform/gdi/device_context.h"

namespace qv {

// The caption bar of a window with WS_CAPTION, below its border.
inline constexpr int kCaptionHeight = 18;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// A raised button: light outer and white inner edges at the top and left, black outer and grey
// inner edges at the bottom and right, the face in COLOR_BTNFACE.
void DrawRaisedButton(HDC dc, const RECT& rect);
// A small solid triangle pointing its way, centred in the rectangle.
enum class ArrowDirection { Up, Down, Left, Right };
void DrawArrow(HDC dc, const RECT& rect, ArrowDirection direction, COLORREF colour);

}  // namespace qv
