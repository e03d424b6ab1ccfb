#pragma once

#include <string_view>

#include "json_writer.h"
#include "platform/user/records/user_types.h"

namespace qv::tools {

void WriteRect(JsonWriter& json, const RECT& rect);

// What the pen needs of the shell's windows, in screen coordinates: a menu bar's buttons, the
// navigation bar's "ok" button (null while it is not shown) and an open popup menu's items with
// their texts. Nothing for other windows.
void WriteShellParts(JsonWriter& json, HWND window, std::u16string_view className);

}  // namespace qv::tools
