#pragma once

#include "model/network_model.h"
#include "render/drawing_surface.h"

namespace qv {

// The scheme image held by the model, if it is one the renderer made.
SchemeImageSurface* SchemeImageOf(const NetworkModel& model);
// Releases the image, so that the next paint builds it anew.
void DiscardSchemeImage(NetworkModel& model);

}  // namespace qv
