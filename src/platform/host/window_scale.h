#pragma once

#include <algorithm>

#include "platform/gdi/system_metrics.h"

namespace qv {

// The largest device scale the window shows by whole texture pixels: beyond it the texture is
// magnified by whole multiples.
inline constexpr int kMaxTextureScale = 3;

// The scale a new window opens at on a display whose usable area is `usableHeight` pixels
// high: the largest whole scale whose window takes at most 85 percent of that height, and at
// least 1. Past the texture's largest scale only its whole multiples fill the window without a
// border, so only those are chosen.
constexpr int WindowScaleFor(int usableHeight) {
    const long long room = static_cast<long long>(std::max(usableHeight, 0)) * 85 / 100;
    const int fit = static_cast<int>(std::min<long long>(room / kScreenHeight, 1 << 20));
    if (fit <= kMaxTextureScale) {
        return std::max(fit, 1);
    }
    return fit - fit % kMaxTextureScale;
}

}  // namespace qv
