#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// A dialog whose controls reach below its client area (a page that the input panel left less
// room than it needs) scrolls them under its vertical scroll bar. Scrolling is turned on for a
// dialog by whoever sizes it; the dialog manager then scrolls with the bar (WM_VSCROLL) and
// brings a control that takes the focus by the keyboard or the pen into view. The controls are
// moved, so their own positions say what is shown.

// One arrow of the bar scrolls this many pixels; a page is the client area's height.
inline constexpr int kDialogScrollLine = 16;
// Room kept below the lowest control when the dialog is scrolled to its end, and round a
// control scrolled into view.
inline constexpr int kDialogScrollMargin = 4;

// Turned off, the controls go back to where they were and the bar goes. A window that is not a
// dialog is left alone.
void SetDialogScrolling(HWND dialog, bool on);
bool DialogScrolls(HWND dialog);
// How far the controls are scrolled up, in pixels; 0 when the dialog does not scroll.
int DialogScrollOffset(HWND dialog);
// After a change of the dialog's size: the bar shown when the shown controls reach below the
// client area, its range their extent and the margin; else the controls back in place and the
// bar hidden.
void FitDialogScroll(HWND dialog);
// Scrolls the least that shows the dialog's control holding `window` whole, with the margin;
// its top when it is taller than the client area. Nothing for a window outside the dialog.
void ScrollDialogToControl(HWND dialog, HWND window);
// A control that took the focus from the pen is brought into view when the pen is lifted, so
// that the press and the release land on the same control.
void ScrollToControlOnPenUp(HWND dialog, HWND control);
void PenLiftedInDialog(HWND dialog);
// A scrolling dialog's answer to WM_VSCROLL.
void OnDialogScroll(HWND dialog, WORD code);

}  // namespace qv
