#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

inline constexpr UINT SPI_SETWORKAREA = 47;
inline constexpr UINT SPI_GETWORKAREA = 48;

// The work area of the current window system: the part of the screen outside the shell's bars,
// where boxes and pages are placed. SPI_GETWORKAREA copies it into the RECT at pvParam and
// SPI_SETWORKAREA (the shell's) takes it from there; uiParam and fWinIni are not used. FALSE for
// other actions, without a RECT or without a window system, or for an empty or inverted area.
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);

}  // namespace qv
