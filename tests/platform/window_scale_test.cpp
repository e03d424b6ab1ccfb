#include "platform/host/window_scale.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(WindowScale, LargestWholeScaleWithinMostOfTheUsableHeight) {
    struct Case {
        int usableHeight;
        int scale;
    };
    // A window 320 pixels high per scale step, within 85 percent of the height.
    const Case cases[] = {
        {-5, 1},   {0, 1},    {200, 1},  {376, 1},  {377, 1},  {752, 1},  {753, 2},
        {1040, 2}, {1080, 2}, {1129, 2}, {1130, 3}, {1440, 3}, {1505, 3}, {1506, 3},
        {2160, 3}, {2258, 3}, {2259, 6}, {3388, 6}, {3389, 9}, {4320, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowScaleFor(c.usableHeight), c.scale) << "usable height " << c.usableHeight;
    }
}

TEST(WindowScale, TheChosenWindowFits) {
    for (int height = 377; height <= 5000; ++height) {
        const int scale = WindowScaleFor(height);
        EXPECT_LE(kScreenHeight * scale * 100, height * 85) << "usable height " << height;
    }
}

}  // namespace
}  // namespace qv
