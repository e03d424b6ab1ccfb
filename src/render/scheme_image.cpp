#include "render/scheme_image.h"

namespace qv {

SchemeImageSurface* SchemeImageOf(const NetworkModel& model) {
    return dynamic_cast<SchemeImageSurface*>(model.memoryDc.get());
}

void DiscardSchemeImage(NetworkModel& model) {
    model.memoryDc.reset();
}

}  // namespace qv
