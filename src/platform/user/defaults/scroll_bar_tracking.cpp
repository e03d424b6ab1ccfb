#include "platform/user/defaults/scroll_bar_tracking.h"

#include <optional>
#include <utility>

#include "platform/user/api/input_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The repeat timer lives among the window's timers under an id no program picks.
constexpr UINT_PTR kRepeatTimer = UINTPTR_MAX - 1;
constexpr UINT kFirstRepeatMs = 250;
constexpr UINT kRepeatPeriodMs = 50;

POINT InWindow(const Window& window, POINT screen) {
    const POINT origin = window.ScreenOrigin();
    return {screen.x - origin.x, screen.y - origin.y};
}

bool PenOverPart(WindowSystem& system) {
    const Window* window = system.Find(system.Bars().CurrentHold()->window);
    return window && system.Bars().PenOverPart(*window);
}

void Scroll(WindowSystem& system, HWND window, ScrollBarAxis axis, WORD code, int position = 0) {
    const UINT message = axis == ScrollBarAxis::Vertical ? WM_VSCROLL : WM_HSCROLL;
    system.Send(window, message, MAKEWPARAM(code, position), 0);
}

void Redraw(WindowSystem& system, HWND window) {
    system.Frames().MarkStale(window);
    system.MarkScreenDirty();
}

void StopRepeating(HWND window) {
    KillTimer(window, kRepeatTimer);
}

// The hold is over: the bar drawn released and the window told the scroll ended.
void EndHold(WindowSystem& system, HWND handle) {
    std::optional<ScrollBars::Hold>& hold = system.Bars().CurrentHold();
    const ScrollBarAxis axis = hold->axis;
    hold.reset();
    StopRepeating(handle);
    Redraw(system, handle);
    Scroll(system, handle, axis, SB_ENDSCROLL);
}

// Sends the scroll that the held part makes; false when the window went away meanwhile.
bool Step(WindowSystem& system) {
    const ScrollBars::Hold& hold = *system.Bars().CurrentHold();
    const HWND handle = hold.window;
    const ScrollBarAxis axis = hold.axis;
    switch (hold.part) {
        case ScrollBarPart::LineUp:
            Scroll(system, handle, axis, SB_LINEUP);
            break;
        case ScrollBarPart::LineDown:
            Scroll(system, handle, axis, SB_LINEDOWN);
            break;
        case ScrollBarPart::PageUp:
            Scroll(system, handle, axis, SB_PAGEUP);
            break;
        case ScrollBarPart::PageDown:
            Scroll(system, handle, axis, SB_PAGEDOWN);
            break;
        default:
            break;
    }
    return system.Find(handle) != nullptr;
}

// A hold whose capture went without the window hearing of it is over.
void DropStaleHold(WindowSystem& system) {
    std::optional<ScrollBars::Hold>& hold = system.Bars().CurrentHold();
    if (hold && GetCapture() != hold->window) {
        StopRepeating(std::exchange(hold, std::nullopt)->window);
    }
}

void OnRepeatTimer(HWND handle, UINT, UINT_PTR, DWORD) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return;
    }
    DropStaleHold(*system);
    if (!system->Bars().Holding(handle)) {
        StopRepeating(handle);
        return;
    }
    SetTimer(handle, kRepeatTimer, kRepeatPeriodMs, OnRepeatTimer);
    if (PenOverPart(*system)) {
        Step(*system);
    }
}

}  // namespace

void ScrollBarPenDown(HWND handle, ScrollBarAxis axis, POINT screen) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return;
    }
    DropStaleHold(*system);
    ScrollBars& bars = system->Bars();
    const Window* window = system->Find(handle);
    if (!window || bars.CurrentHold()) {
        return;
    }
    const POINT pen = InWindow(*window, screen);
    const ScrollBarLayout layout = bars.LayoutOf(*window, axis);
    const ScrollBarPart part = layout.PartAt(pen);
    if (part == ScrollBarPart::None || layout.state.disabled || !ScrollNeeded(layout.state)) {
        return;
    }
    bars.CurrentHold() = ScrollBars::Hold{handle,
                                          axis,
                                          part,
                                          pen,
                                          layout.Along(pen) - layout.Start(layout.thumb),
                                          layout.state.position};
    SetCapture(handle);
    Redraw(*system, handle);
    if (part == ScrollBarPart::Thumb || !Step(*system)) {
        return;
    }
    if (bars.Holding(handle)) {
        SetTimer(handle, kRepeatTimer, kFirstRepeatMs, OnRepeatTimer);
    }
}

void ScrollBarPenMove(HWND handle, POINT screen) {
    WindowSystem* system = WindowSystem::Current();
    const Window* window = system ? system->Find(handle) : nullptr;
    if (!window || !system->Bars().Holding(handle)) {
        return;
    }
    ScrollBars& bars = system->Bars();
    ScrollBars::Hold& hold = *bars.CurrentHold();
    const bool wasOver = PenOverPart(*system);
    hold.pen = InWindow(*window, screen);
    if (hold.part != ScrollBarPart::Thumb) {
        if (PenOverPart(*system) != wasOver) {
            Redraw(*system, handle);
        }
        return;
    }
    const ScrollBarLayout layout = bars.LayoutOf(*window, hold.axis);
    const int position = layout.PositionForThumbStart(layout.Along(hold.pen) - hold.grab);
    if (position == hold.trackPosition) {
        return;
    }
    hold.trackPosition = position;
    Redraw(*system, handle);
    Scroll(*system, handle, hold.axis, SB_THUMBTRACK, position);
}

void ScrollBarPenUp(HWND handle) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || !system->Bars().Holding(handle)) {
        return;
    }
    const ScrollBars::Hold& hold = *system->Bars().CurrentHold();
    if (hold.part == ScrollBarPart::Thumb) {
        // The tracking position stays readable while the window handles the release.
        Scroll(*system, handle, hold.axis, SB_THUMBPOSITION, hold.trackPosition);
    }
    if (!system->Bars().Holding(handle)) {
        return;
    }
    EndHold(*system, handle);
    if (GetCapture() == handle) {
        ReleaseCapture();
    }
}

void ScrollBarCaptureLost(HWND handle) {
    WindowSystem* system = WindowSystem::Current();
    if (system && system->Bars().Holding(handle)) {
        EndHold(*system, handle);
    }
}

}  // namespace qv
