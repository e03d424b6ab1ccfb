#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// Adds the settings page's template (IDD_SETTINGS) to the module.
void AddSettingsTemplate(ResourceModule& module);

}  // namespace qv
