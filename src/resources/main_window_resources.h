#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// Adds the main window's accelerator table to the module.
void AddMainWindowResources(ResourceModule& module);

}  // namespace qv
