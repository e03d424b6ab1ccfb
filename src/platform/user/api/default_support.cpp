#include "platform/user/api/default_support.h"

#include "platform/user/core/window_system.h"

namespace qv {

namespace {

Window* Find(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Find(window) : nullptr;
}

}  // namespace

Window* WindowFromHandle(HWND window) {
    return Find(window);
}

void MarkFrameStale(HWND window) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->Frames().MarkStale(window);
    }
}

void MarkScreenDirty() {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->MarkScreenDirty();
    }
}

void NotifyTitleChanged(HWND window) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->TitleChanged(window);
    }
}

void DrawWindowFrame(HDC dc, HWND window) {
    WindowSystem* system = WindowSystem::Current();
    if (const Window* found = Find(window)) {
        system->Frames().Paint(dc, *found, window == system->Active());
    }
}

RECT GetScrollBarRect(HWND window, ScrollBarAxis axis) {
    const Window* found = Find(window);
    return found ? ScrollBars::BarRect(*found, axis) : RECT{};
}

RECT GetScrollBarCorner(HWND window) {
    const Window* found = Find(window);
    return found ? ScrollBars::CornerRect(*found) : RECT{};
}

ScrollBarLayout GetScrollBarLayout(HWND window, ScrollBarAxis axis) {
    const Window* found = Find(window);
    if (!found) {
        return ScrollBarLayout(RECT{}, ScrollBarState{}, 0, axis);
    }
    return WindowSystem::Current()->Bars().LayoutOf(*found, axis);
}

ScrollBarPart GetScrollBarPressedPart(HWND window, ScrollBarAxis axis) {
    const Window* found = Find(window);
    return found ? WindowSystem::Current()->Bars().Pressed(*found, axis) : ScrollBarPart::None;
}

std::optional<ScrollBarHold> GetScrollBarHold() {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Bars().CurrentHold() : std::nullopt;
}

void SetScrollBarHold(const std::optional<ScrollBarHold>& hold) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->Bars().CurrentHold() = hold;
    }
}

void EnterModalLoop(HWND window, ModalLoop& loop) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->EnterModal(window, loop);
    }
}

void LeaveModalLoop(ModalLoop& loop) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->LeaveModal(loop);
    }
}

ModalLoop* FindModalLoop(HWND window) {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->FindModal(window) : nullptr;
}

}  // namespace qv
