#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// The images of the toolbar's strip, in the strip's order. The spare shows an open folder, for
// a button that loads a map should one be added.
enum ToolbarImage : int {
    kDepartureImage,
    kDestinationImage,
    kClearStationsImage,
    kForbiddenStationImage,
    kStationListImage,
    kRouteInfoImage,
    kScaleImage,
    kHelpImage,
    kSpareImage,
    kToolbarImageCount
};

// Every image of the strip is a square of this side. Its background is silver, the colour of a
// button's face, which the toolbar treats as transparent; the drawings themselves use no silver.
inline constexpr int kToolbarImageSize = 16;
inline constexpr COLORREF kToolbarBackground = RGB(192, 192, 192);

// Puts the toolbar's strip, the application icon and the icons of the departure and
// destination into the module.
void AddProgramImages(ResourceModule& module);

}  // namespace qv
