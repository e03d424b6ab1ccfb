#pragma once

// What the default behaviour (DefWindowProcW, the non-client area, the scroll bars' pen, the
// modal loop) reaches inside the window system, as the platform's own default code does, and no
// program calls.

#include <optional>

#include "platform/user/look/scroll_bar_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

class ModalLoop;
class Window;

// The window's record, null when there is none: its text, font, icons and class.
Window* WindowFromHandle(HWND window);
// The window's frame must be painted again (its caption or a scroll bar changed).
void MarkFrameStale(HWND window);
// The screen must be composed again.
void MarkScreenDirty();
// The window's text changed: its caption bar and the host's title follow.
void NotifyTitleChanged(HWND window);
// The border and caption bar, on a surface whose origin is the window's top left; the caption
// looks active while the window is the active one.
void DrawWindowFrame(HDC dc, HWND window);

// The window's own scroll bars, in window coordinates: where a bar lies (empty without its
// style), the square between the two (empty unless both are shown), its parts (the thumb at the
// tracking position while dragged) and the part drawn pressed.
RECT GetScrollBarRect(HWND window, ScrollBarAxis axis);
RECT GetScrollBarCorner(HWND window);
ScrollBarLayout GetScrollBarLayout(HWND window, ScrollBarAxis axis);
ScrollBarPart GetScrollBarPressedPart(HWND window, ScrollBarAxis axis);

// The pen's hold on a part of a window's scroll bar; one at a time.
std::optional<ScrollBarHold> GetScrollBarHold();
// Takes the hold, changes it, or (with none) ends it.
void SetScrollBarHold(const std::optional<ScrollBarHold>& hold);

// Modal loops, innermost last, each running for its window.
void EnterModalLoop(HWND window, ModalLoop& loop);
void LeaveModalLoop(ModalLoop& loop);
// The innermost loop running for the window, null when none is.
ModalLoop* FindModalLoop(HWND window);

}  // namespace qv
