#include <gtest/gtest.h>

#include <tuple>

#include "platform/host/headless_host.h"
#include "platform/host/sdl_host.h"
#include "platform/host/window_scale.h"

namespace qv {
namespace {

using Kind = InputEvent::Kind;
using std::chrono::milliseconds;

TEST(HeadlessHost, HandsOutInputInOrderAndRunsTheClockOnlyAsFarAsAllowed) {
    HeadlessHost host;
    host.Tap(10, 20);
    host.Key('H', {.control = true, .shift = true});
    host.Type(u"Ёж");
    host.Wheel(2, 0);
    host.Wheel(0, -1);
    std::vector<InputEvent> events;
    while (const auto event = host.NextInput()) {
        events.push_back(*event);
    }
    // The key is let go before its modifiers, and they before the next input.
    const std::vector<InputEvent> expected{
        {Kind::PenDown, {10, 20}},
        {Kind::PenUp, {10, 20}},
        {Kind::KeyDown, {}, 'H', {.control = true, .shift = true}},
        {Kind::KeyUp, {}, 'H', {.control = true, .shift = true}},
        {Kind::KeyUp, {}, 0x10, {.control = true}},
        {Kind::KeyUp, {}, 0x11, {}},
        {Kind::Character, {}, 0, {}, u'Ё'},
        {Kind::Character, {}, 0, {}, u'ж'},
        {.kind = Kind::Wheel, .notches = {2, 0}},
        {.kind = Kind::Wheel, .notches = {0, -1}}};
    EXPECT_EQ(events, expected);

    EXPECT_EQ(host.Wait(milliseconds(500)), Host::WaitResult::Idle);
    EXPECT_EQ(host.Now(), milliseconds(0));

    host.AllowTime(milliseconds(1200));
    EXPECT_EQ(host.Wait(milliseconds(500)), Host::WaitResult::Deadline);
    EXPECT_EQ(host.Now(), milliseconds(500));
    EXPECT_EQ(host.Wait(milliseconds(300)), Host::WaitResult::Deadline);  // already passed
    EXPECT_EQ(host.Now(), milliseconds(500));
    EXPECT_EQ(host.Wait(milliseconds(1200)), Host::WaitResult::Deadline);  // due at the very end
    EXPECT_EQ(host.Wait(milliseconds(1500)), Host::WaitResult::Idle);
    EXPECT_EQ(host.Now(), milliseconds(1200));  // the rest of the allowance has passed

    host.PenDown(1, 1);
    EXPECT_EQ(host.Wait(milliseconds(5000)), Host::WaitResult::Input);
    EXPECT_EQ(host.Now(), milliseconds(1200));

    // Every frame presented is counted and the last one kept, of the same size or another.
    for (const int width : {2, 2, 3}) {
        host.Present(Bitmap(width, 1, 1));
        EXPECT_EQ(host.LastFrame()->Width(), width);
    }
    EXPECT_EQ(host.Presentations(), 3);
}

// A window 320 pixels high per scale step, within 85 percent of the height.
TEST(WindowScale, LargestWholeScaleThatFitsMostOfTheUsableHeight) {
    const std::pair<int, int> cases[] = {
        {-5, 1},   {0, 1},    {752, 1},  {753, 2},  {1129, 2}, {1130, 3},
        {2258, 3}, {2259, 6}, {3388, 6}, {3389, 9}, {4320, 9},
    };
    for (const auto& [usableHeight, scale] : cases) {
        EXPECT_EQ(WindowScaleFor(usableHeight), scale) << "usable height " << usableHeight;
    }
}

// A click lands on the device pixel under it: between borders of a wide or tall window, on a HiDPI
// screen, at the texture's largest scale or magnified twice; in a border, on the nearest edge.
TEST(ScreenFit, AClickLandsOnTheDevicePointDrawnUnderIt) {
    const std::tuple<SIZE, SIZE, int, POINT, POINT> cases[] = {
        {{1000, 400}, {1000, 400}, 1, {390, 60}, {10, 20}},  // 380 left, 40 above
        {{240, 1000}, {240, 1000}, 1, {10, 360}, {10, 20}},  // 340 above
        {{1000, 400}, {500, 200}, 1, {195, 30}, {10, 20}},
        {{960, 1280}, {960, 1280}, 3, {151, 222}, {10, 20}},   // 120 left, 160 above
        {{1500, 2000}, {1500, 2000}, 3, {95, 165}, {10, 20}},  // 30 left, 40 above, 6 x 6
        {{1000, 400}, {1000, 400}, 1, {0, 399}, {0, 319}},
        {{1000, 400}, {1000, 400}, 1, {999, 0}, {239, 0}}};
    for (const auto& [output, window, scale, click, device] : cases) {
        ScreenFit fit;
        EXPECT_EQ(fit.Layout(output.cx, output.cy), scale != 1) << click.x << "," << click.y;
        EXPECT_EQ(fit.Scale(), scale);
        EXPECT_EQ(fit.ScreenPoint(click.x, click.y, window, output), device)
            << click.x << "," << click.y;
    }
}

}  // namespace
}  // namespace qv
