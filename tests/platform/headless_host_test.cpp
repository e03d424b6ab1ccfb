#include "platform/host/headless_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gdi/shapes.h"
#include "platform/host/device_screen.h"
#include "platform/host/virtual_keys.h"

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

    // The clock runs only as far as allowed.
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

TEST(HeadlessHost, WritesWhatWasPresentedAsPng) {
    HeadlessHost host(2);
    EXPECT_FALSE(host.WriteScreenshot("/nonexistent/none.png"));
    DeviceScreen screen(host.DeviceScale());
    UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT box{10, 10, 20, 30};
    FillRect(screen.Dc(), &box, red.get());
    host.Present(screen.Pixels());
    FillRect(screen.Dc(), &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));  // too late
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "qv-headless-screen.png";
    ASSERT_TRUE(host.WriteScreenshot(path.string()));
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 480);
    EXPECT_EQ(cairo_image_surface_get_height(png), 640);
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png));
    const int stride = cairo_image_surface_get_stride(png) / 4;
    EXPECT_EQ(pixels[25 * stride + 25] & 0xFFFFFF, 0xFF0000u);
    cairo_surface_destroy(png);
    std::filesystem::remove(path);
    EXPECT_EQ(host.Presentations(), 1);
}

}  // namespace
}  // namespace qv
