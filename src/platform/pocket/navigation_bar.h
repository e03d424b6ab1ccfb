#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// The navigation bar at the top of the screen: the title of the window it follows at the left in
// bold, and at the right an "ok" button when that window was set up with the Done button, whose
// tap sends it IDOK. It never takes the activation and stays usable while a page runs modally.
HWND CreateNavigationBar();
// The window whose title (which becomes the bar's own text) and Done button the bar shows; null
// for none.
void FollowWindow(HWND bar, HWND window);
// Where the "ok" button lies in the bar's client area; empty while it is not shown.
RECT DoneButtonRect(HWND bar);

inline constexpr std::u16string_view kNavigationBarClassName = u"QvShellNavigationBar";

}  // namespace qv
