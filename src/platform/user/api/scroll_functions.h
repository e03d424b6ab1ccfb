#pragma once

// A window's own scroll bars: the vertical (SB_VERT) and the horizontal (SB_HORZ) one; a scroll
// bar control (SB_CTL) is refused.

#include <optional>

#include "platform/user/records/user_types.h"

namespace qv {

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Sets what the mask names. The page is held to the range and the position to min to
// max - page + 1. A bar whose range fits its page is hidden (WS_VSCROLL or WS_HSCROLL taken off,
// the client area growing), or shown greyed with SIF_DISABLENOSCROLL; one that has something to
// scroll is shown. Returns the position.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
// SIF_TRACKPOS gives where the thumb is while it is dragged, else the position.
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
// The previous position.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, int* min, int* max);
// SB_BOTH shows or hides both bars.
BOOL ShowScrollBar(HWND window, int bar, BOOL show);

// The position a scroll code of `window`'s bar asks for, from `position`: a line or a page either
// way, the thumb's tracked position (read whole from the bar, as the message's packed one holds
// 16 bits), or an end (`last`). Nothing for codes that ask for no position. Not held to the range.
std::optional<long long> ScrollTarget(HWND window, int bar, WORD code, long long position, int line,
                                      int page, long long last);

}  // namespace qv
