#pragma once

#include "platform/controls/popup_menu_codes.h"

namespace qv {

// Where a menu of `size` goes for the point and the flags, on a screen of `screen`'s size: on
// the side of the point the alignment names, on the other side when it does not fit there, then
// moved inside the screen; off `exclude` when one of its sides has room, the vertical ones
// first with TPM_VERTICAL, else the horizontal ones.
RECT PlacePopupMenu(SIZE size, POINT point, UINT flags, SIZE screen, const RECT* exclude);

}  // namespace qv
