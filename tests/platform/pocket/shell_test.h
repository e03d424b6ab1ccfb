#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "platform/host/headless_host.h"
#include "platform/user/core/window_system.h"

namespace qv::testing {

// The main window of a program on the headless host, with the shell installed: it writes down
// the commands it gets.
class ShellTest : public ::testing::Test {
  public:
    struct Command {
        int id;
        LPARAM source;
        bool operator==(const Command&) const = default;
    };

  protected:
    ShellTest();
    ~ShellTest() override;

    // The main window's menu bar as the program makes it: the description, the nine tooltips,
    // the nine-image strip with a count of 15 and the eight toolbar buttons.
    HWND MakeMainMenuBar();
    // A shown top-level window of the test's class.
    HWND MakeWindow(std::u16string_view title, RECT rect);
    COLORREF ScreenPixel(int x, int y) const {
        const int scale = host.DeviceScale();
        return host.LastFrame()->GetPixel(x * scale, y * scale);
    }
    WindowSystem::PumpResult Pump() { return system.Pump(); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    std::vector<Command> commands;
    // Called for each WM_TIMER of the main window.
    std::function<void()> timerSeen;

  private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ShellTest* current_;
};

}  // namespace qv::testing
