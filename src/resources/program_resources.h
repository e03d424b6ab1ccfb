#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// The module that carries the program's bitmaps and icons.
HINSTANCE ProgramModule();

}  // namespace qv
