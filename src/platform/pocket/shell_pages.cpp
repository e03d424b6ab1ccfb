#include "platform/pocket/shell_pages.h"

#include "platform/user/api/input_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_scroll.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The property holds the sizing plus one, so that 0 means none.
LONG_PTR SizingValue(PageSizing sizing) {
    return static_cast<LONG_PTR>(sizing) + 1;
}

// A page that the room left does not hold scrolls, with its focused control in view.
void Place(HWND page, const RECT& wanted) {
    RECT now;
    if (!GetWindowRect(page, &now) || now != wanted) {
        MoveWindow(page, wanted.left, wanted.top, wanted.right - wanted.left,
                   wanted.bottom - wanted.top, 1);
    }
    FitDialogScroll(page);
    ScrollDialogToControl(page, GetFocus());
}

}  // namespace

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        windows.push_back(window);
    }
    return windows;
}

void PlaceShellPage(HWND page, PageSizing sizing, InputPanelState panel) {
    SetPropW(page, kPageSizingProperty, SizingValue(sizing));
    SetDialogScrolling(page, true);
    Place(page, PageRect(sizing, panel));
}

void ReleaseShellPage(HWND page) {
    RemovePropW(page, kPageSizingProperty);
    SetDialogScrolling(page, false);
}

void FitShellPages(InputPanelState panel) {
    // Named first: a page may make or destroy windows when it is resized.
    for (const HWND page : TopLevelWindows()) {
        for (const PageSizing sizing : {PageSizing::FullScreen, PageSizing::WorkArea}) {
            if (IsWindow(page) && GetPropW(page, kPageSizingProperty) == SizingValue(sizing)) {
                Place(page, PageRect(sizing, panel));
            }
        }
    }
}

}  // namespace qv
