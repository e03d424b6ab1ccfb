#pragma once

#include "platform/gdi/gdi_types.h"

namespace qv {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;

int GetSystemMetrics(int index);
// The device's classic colour scheme.
COLORREF GetSysColor(int index);

}  // namespace qv
