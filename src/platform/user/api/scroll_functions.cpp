#include "platform/user/api/scroll_functions.h"

#include <algorithm>

#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The window whose own bar is meant; null for a bar this window system does not have.
Window* BarOwner(HWND window, int bar) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || found->IsDesktop() || (bar != SB_VERT && bar != SB_HORZ && bar != SB_BOTH)) {
        return nullptr;
    }
    return found;
}

ScrollBarAxis AxisOf(int bar) {
    return bar == SB_HORZ ? ScrollBarAxis::Horizontal : ScrollBarAxis::Vertical;
}

// Shows or hides the bar; the client area follows, as after a change of frame.
void SetBarShown(WindowSystem& system, HWND handle, ScrollBarAxis axis, bool show) {
    const DWORD flag = axis == ScrollBarAxis::Vertical ? WS_VSCROLL : WS_HSCROLL;
    const auto style = static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE));
    if (((style & flag) != 0) == show) {
        return;
    }
    SetWindowLongW(handle, GWL_STYLE, show ? style | flag : style & ~flag);
    system.ApplyFrameChange(handle);
}

void RedrawBar(WindowSystem& system, HWND handle) {
    system.Frames().MarkStale(handle);
    system.MarkScreenDirty();
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    if (!BarOwner(window, bar) || bar == SB_BOTH || !info) {
        return 0;
    }
    WindowSystem& system = *WindowSystem::Current();
    ScrollBarState& state = system.Bars().StateOf(window, AxisOf(bar));
    if (info->fMask & SIF_RANGE) {
        state.min = info->nMin;
        state.max = info->nMax;
    }
    if (info->fMask & SIF_PAGE) {
        state.page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
    }
    if (info->fMask & SIF_POS) {
        state.position = info->nPos;
    }
    ClampScrollBar(state);
    const int position = state.position;
    if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        const bool needed = ScrollNeeded(state);
        const bool keep = (info->fMask & SIF_DISABLENOSCROLL) != 0;
        state.disabled = !needed && keep;
        // The state may move when the window answers the change of its client area.
        SetBarShown(system, window, AxisOf(bar), needed || keep);
    }
    if (redraw) {
        RedrawBar(system, window);
    }
    return position;
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    if (!BarOwner(window, bar) || bar == SB_BOTH || !info) {
        return 0;
    }
    const ScrollBars& bars = WindowSystem::Current()->Bars();
    const ScrollBarState state = bars.State(window, AxisOf(bar));
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.min;
        info->nMax = state.max;
    }
    if (info->fMask & SIF_PAGE) {
        info->nPage = static_cast<UINT>(state.page);
    }
    if (info->fMask & SIF_POS) {
        info->nPos = state.position;
    }
    if (info->fMask & SIF_TRACKPOS) {
        info->nTrackPos = bars.TrackPosition(window, AxisOf(bar)).value_or(state.position);
    }
    return 1;
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    const int previous = GetScrollPos(window, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND window, int bar) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    if (!BarOwner(window, bar) || bar == SB_BOTH) {
        return 0;
    }
    SetScrollInfo(window, bar, &info, redraw);
    return 1;
}

BOOL GetScrollRange(HWND window, int bar, int* min, int* max) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    if (!min || !max || !GetScrollInfo(window, bar, &info)) {
        return 0;
    }
    *min = info.nMin;
    *max = info.nMax;
    return 1;
}

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
    if (!BarOwner(window, bar)) {
        return 0;
    }
    WindowSystem& system = *WindowSystem::Current();
    if (bar != SB_HORZ) {
        SetBarShown(system, window, ScrollBarAxis::Vertical, show != 0);
    }
    if (bar != SB_VERT && IsWindow(window)) {
        SetBarShown(system, window, ScrollBarAxis::Horizontal, show != 0);
    }
    RedrawBar(system, window);
    return 1;
}

std::optional<long long> ScrollTarget(HWND window, int bar, WORD code, long long position, int line,
                                      int page, long long last) {
    switch (code) {
        case SB_LINEUP:
            return position - line;
        case SB_LINEDOWN:
            return position + line;
        case SB_PAGEUP:
            return position - page;
        case SB_PAGEDOWN:
            return position + page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(window, bar, &info);
            return info.nTrackPos;
        }
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return last;
        default:
            return std::nullopt;
    }
}

}  // namespace qv
