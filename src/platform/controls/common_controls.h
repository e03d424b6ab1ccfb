#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Which classes InitCommonControlsEx registers.
inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
inline constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
inline constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};

// Registers the classes of every family asked for; false for a record of the wrong size, a
// family this layer does not have, or a class that could not be registered. Classes belong to
// the current window system, so each system needs its own call.
// The families are one table, so a new control is a new row.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* families);

// "STATIC", "BUTTON" and "EDIT", which dialogs made from templates need; true when all three are
// there.
bool RegisterStandardControls();

}  // namespace qv
