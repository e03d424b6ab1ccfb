#pragma once

#include <string_view>
#include <vector>

#include "platform/pocket/shell_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Remembers on a page how the shell sized it, so that the page follows the input panel.
inline constexpr std::u16string_view kPageSizingProperty = u"qv.shell.pageSizing";

// Sizes the page as the shell does for the panel's state, and keeps it so sized from now on. A
// dialog page whose controls the room does not hold scrolls them (dialog_scroll), its focused
// control brought into view; with room enough again it is whole, unscrolled and without a bar.
void PlaceShellPage(HWND page, PageSizing sizing, InputPanelState panel);
// The page keeps its own size from now on, and does not scroll.
void ReleaseShellPage(HWND page);
// The program's top-level windows, the top of the z-order first.
std::vector<HWND> TopLevelWindows();
// Brings every top-level page that the shell sized to its rectangle for the panel's state.
void FitShellPages(InputPanelState panel);

}  // namespace qv
