#pragma once

#include "platform/user/records/dialog_template.h"

namespace qv {

// A dialog's own frame around a page.
inline constexpr DWORD DS_MODALFRAME = 0x00000080;

// The station picker: letter tabs (or the name edit in their place), the list of stations and
// the departure and destination buttons.
extern const DialogTemplate kStationPickerTemplate;
// The route details: one list of the route's rows.
extern const DialogTemplate kRouteDetailsTemplate;

}  // namespace qv
