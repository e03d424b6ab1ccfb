#include "platform/host/window_scale.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A window 320 pixels high per scale step, within 85 percent of the height.
TEST(WindowScale, LargestWholeScaleThatFitsMostOfTheUsableHeight) {
    const std::pair<int, int> cases[] = {
        {-5, 1},   {0, 1},    {752, 1},  {753, 2},  {1129, 2}, {1130, 3},
        {2258, 3}, {2259, 6}, {3388, 6}, {3389, 9}, {4320, 9},
    };
    for (const auto& [usableHeight, scale] : cases) {
        EXPECT_EQ(WindowScaleFor(usableHeight), scale) << "usable height " << usableHeight;
    }
    for (int height = 377; height <= 5000; ++height) {
        EXPECT_LE(kScreenHeight * WindowScaleFor(height) * 100, height * 85) << height;
    }
}

}  // namespace
}  // namespace qv
