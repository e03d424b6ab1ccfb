#pragma once

#include "platform/gdi/resource_module.h"

namespace qv {

// The system's own resources: the stop (IDI_HAND) and information (IDI_ASTERISK) icons of
// message boxes, 32 x 32.
HINSTANCE SystemModule();

}  // namespace qv
