#pragma once

#include "model/network_model.h"
#include "render/drawing_surface.h"

namespace qv {

inline constexpr COLORREF kMarginGrey = 0x808080;

// One paint of the view: the scheme image (built first when absent) with grey margins where a
// zoomed view leaves the image, then the overlays: the blinking route in its on-phase, the
// route station's callout, the end markers over it (in the on-phase, or always while there is
// no route), and the tapped station's callout above everything. `routeLabelCounter` may be reset to
// 0.
void PaintScheme(NetworkModel& model, const LOGFONTW& fontTemplate, DrawingSurface& surface,
                 bool blinkOn, int& routeLabelCounter);

}  // namespace qv
