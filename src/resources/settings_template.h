#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// Adds the settings page's template (IDD_SETTINGS) to the module. Its units are those of the
// narrower "MS Sans Serif" 8 (6 x 14 base units), as are the about box's, so that 160 units of
// page are the screen's width.
void AddSettingsTemplate(ResourceModule& module);

}  // namespace qv
