#include "platform/host/headless_host.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using Kind = InputEvent::Kind;
using std::chrono::milliseconds;

TEST(HeadlessHost, HandsOutInputInOrderAndRunsTheClockOnlyAsFarAsAllowed) {
    HeadlessHost host;
    host.Tap(10, 20);
    host.Key('H', {.control = true});
    host.Type(u"Ёж");
    std::vector<InputEvent> events;
    while (const auto event = host.NextInput()) {
        events.push_back(*event);
    }
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0], (InputEvent{Kind::PenDown, {10, 20}}));
    EXPECT_EQ(events[1], (InputEvent{Kind::PenUp, {10, 20}}));
    EXPECT_EQ(events[2], (InputEvent{Kind::KeyDown, {}, 'H', {.control = true}}));
    // The key is let go before its modifiers.
    EXPECT_EQ(events[3], (InputEvent{Kind::KeyUp, {}, 'H', {.control = true}}));
    EXPECT_EQ(events[4], (InputEvent{Kind::Character, {}, 0, {}, u'Ё'}));
    EXPECT_EQ(events[5].character, u'ж');

    EXPECT_EQ(host.Now(), milliseconds(0));
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
}

}  // namespace
}  // namespace qv
