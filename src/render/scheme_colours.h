#pragma once

#include "platform/gdi/gdi_types.h"

namespace qv {

// The white, black and grey of the scheme.
inline constexpr COLORREF kWhite = 0xFFFFFF;
inline constexpr COLORREF kBlack = 0x000000;
inline constexpr COLORREF kLightGrey = 0xC0C0C0;

}  // namespace qv
