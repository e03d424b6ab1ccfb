#include "platform/user/scroll_functions.h"

#include <algorithm>

#include "platform/user/non_client.h"
#include "platform/user/paint_functions.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"
#include "platform/user/window_system.h"

namespace qv {

namespace {

Window* VerticalBarOwner(HWND window, int bar) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = system ? system->Find(window) : nullptr;
    if (!found || found->IsDesktop() || (bar != SB_VERT && bar != SB_BOTH)) {
        return nullptr;
    }
    return found;
}

// Shows or hides the bar; the client area follows, as after a change of frame.
void SetBarShown(WindowSystem& system, HWND handle, bool show) {
    const auto style = static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE));
    if (((style & WS_VSCROLL) != 0) == show) {
        return;
    }
    SetWindowLongW(handle, GWL_STYLE, show ? style | WS_VSCROLL : style & ~WS_VSCROLL);
    ApplyFrameChange(system, handle);
}

void RedrawBar(WindowSystem& system, HWND handle) {
    system.Frames().MarkStale(handle);
    system.MarkScreenDirty();
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    Window* found = VerticalBarOwner(window, bar);
    if (!found || bar != SB_VERT || !info) {
        return 0;
    }
    WindowSystem& system = *WindowSystem::Current();
    ScrollBarState& state = system.Bars().StateOf(window);
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
        SetBarShown(system, window, needed || keep);
    }
    if (redraw) {
        RedrawBar(system, window);
    }
    return position;
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    const Window* found = VerticalBarOwner(window, bar);
    if (!found || bar != SB_VERT || !info) {
        return 0;
    }
    const ScrollBars& bars = WindowSystem::Current()->Bars();
    const ScrollBarState state = bars.State(window);
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
        info->nTrackPos = bars.TrackPosition(window).value_or(state.position);
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
    if (!VerticalBarOwner(window, bar) || bar != SB_VERT) {
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
    if (!VerticalBarOwner(window, bar)) {
        return 0;
    }
    WindowSystem& system = *WindowSystem::Current();
    SetBarShown(system, window, show != 0);
    RedrawBar(system, window);
    return 1;
}

}  // namespace qv
