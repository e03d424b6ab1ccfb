#pragma once

// The non-client area of a window: the frame, the caption bar and the scroll bars around its
// client area. The window decides where its client area lies (WM_NCCALCSIZE), what
// a point is on (WM_NCHITTEST) and how its frame looks (WM_NCPAINT); the default handling of
// those messages is here.

#include "platform/user/records/user_types.h"

namespace qv {

class Window;

// A surface on the whole window, frame included, with the origin at its top left.
HDC GetWindowDC(HWND window);

// The default handling: the client area inside the border, below the caption bar, left of
// the vertical scroll bar and above the horizontal one; the part under a point given in screen
// coordinates; the frame painted.
LRESULT DefaultNcCalcSize(const Window& window, LPARAM lParam);
LRESULT DefaultNcHitTest(const Window& window, POINT screen);
void DefaultNcPaint(const Window& window);
// Pen messages on the non-client area; a press on the scroll bar holds it.
void DefaultNcPen(const Window& window, UINT message, WPARAM hit, POINT screen);

}  // namespace qv
