#pragma once

// The shell's geometry on the device screen: the navigation bar at the top, the menu bar at the
// bottom, the work area between them, and the input panel that sits on the menu bar's top edge
// when it is up. The shell places its windows and pages by it and sets the window layer's work
// area from it, which the message box reads (SPI_GETWORKAREA); being constexpr, it also serves
// what lays out without a window system (the map import's pictures).

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/system_metrics.h"

namespace qv {

inline constexpr int kNavigationBarHeight = 26;
inline constexpr int kMenuBarHeight = 26;
inline constexpr int kInputPanelWidth = kScreenWidth;
inline constexpr int kInputPanelHeight = 80;

enum class InputPanelState { Down, Up };

// How a page set up by the shell is sized: down to the bottom of the screen, over the menu bar
// (full screen), or to the work area, leaving the menu bar free.
enum class PageSizing { FullScreen, WorkArea };

constexpr RECT NavigationBarRect() {
    return {0, 0, kScreenWidth, kNavigationBarHeight};
}

constexpr RECT MenuBarRect() {
    return {0, kScreenHeight - kMenuBarHeight, kScreenWidth, kScreenHeight};
}

// Between the bars, whether the input panel is up or not.
constexpr RECT WorkArea() {
    return {0, kNavigationBarHeight, kScreenWidth, kScreenHeight - kMenuBarHeight};
}

// Where the input panel lies when it is up: on the menu bar's top edge.
constexpr RECT InputPanelRect() {
    const int bottom = kScreenHeight - kMenuBarHeight;
    return {0, bottom - kInputPanelHeight, kInputPanelWidth, bottom};
}

// The part of the work area that the input panel leaves visible.
constexpr RECT VisibleWorkArea(InputPanelState panel) {
    RECT area = WorkArea();
    if (panel == InputPanelState::Up) {
        area.bottom = InputPanelRect().top;
    }
    return area;
}

// Where a page of the shell lies: below the navigation bar, and above the input panel while it
// is up.
constexpr RECT PageRect(PageSizing sizing, InputPanelState panel) {
    if (panel == InputPanelState::Up) {
        return VisibleWorkArea(panel);
    }
    RECT area = WorkArea();
    if (sizing == PageSizing::FullScreen) {
        area.bottom = kScreenHeight;
    }
    return area;
}

}  // namespace qv
