#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// Adds the about box's template (IDD_ABOUT) to the module.
void AddAboutTemplate(ResourceModule& module);

}  // namespace qv
