#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// The module that carries the program's bitmaps, icons and strings.
HINSTANCE ProgramModule();

}  // namespace qv
