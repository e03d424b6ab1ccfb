#pragma once

#include "platform/gdi/resource_module.h"
#include "platform/user/records/dialog_template.h"

namespace qv {

// A dialog's own frame around a page.
inline constexpr DWORD DS_MODALFRAME = 0x00000080;

// Both pages are laid out in dialog units of "System" 8, whose base units are 7 x 14 pixels (a
// unit is a quarter of the average Latin letter's width, an eighth of the line height), so that
// 134 units of list are about the screen's width.

// Adds, in every language, the station picker: letter tabs (or the name edit in their place), the
// list of stations and the departure and destination buttons.
void AddStationPickerTemplate(ResourceModule& module);
// Adds, in every language, the route details: one list of the route's rows.
void AddRouteDetailsTemplate(ResourceModule& module);

}  // namespace qv
