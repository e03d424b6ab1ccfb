#pragma once

#include "platform/user/records/cursor_shape.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Makes the cursor current and returns the one it replaces.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

}  // namespace qv
