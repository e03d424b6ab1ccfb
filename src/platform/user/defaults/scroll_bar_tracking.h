#pragma once

#include "platform/user/look/scroll_bar_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The pen on a window's scroll bar, as the default handling of its non-client pen messages does
// it: a press on a bar holds it (the record is the window system's, through GetScrollBarHold). A
// hold keeps the capture; it sends WM_VSCROLL (WM_HSCROLL for the horizontal bar, whose codes
// SB_LINELEFT ... are the same numbers) as the platform does:
//
//   pen down on       | at once          | while held           | pen up
//   an arrow          | SB_LINEUP / DOWN | repeated on a timer  | SB_ENDSCROLL
//   the track         | SB_PAGEUP / DOWN | repeated on a timer  | SB_ENDSCROLL
//   the thumb         | nothing          | SB_THUMBTRACK, moved | SB_THUMBPOSITION, SB_ENDSCROLL
//
// Repeats go on only while the pen is over the part pressed, so a page scroll stops when the
// thumb reaches the pen. A lost capture ends the hold with SB_ENDSCROLL. Points are in screen
// coordinates.
void ScrollBarPenDown(HWND window, ScrollBarAxis axis, POINT screen);
void ScrollBarPenMove(HWND window, POINT screen);
void ScrollBarPenUp(HWND window);
void ScrollBarCaptureLost(HWND window);

}  // namespace qv
