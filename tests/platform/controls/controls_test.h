#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "platform/controls/common_controls.h"
#include "platform/controls/control_codes.h"
#include "platform/host/headless_host.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/user_types.h"

namespace qv::testing {

// A full-screen page on the headless host that the controls under test are children of; it
// keeps every WM_COMMAND and WM_DRAWITEM it receives.
class ControlsTest : public ::testing::Test {
  public:
    struct Command {
        int id = 0;
        WORD code = 0;
        HWND from = nullptr;
        bool operator==(const Command&) const = default;
    };

  protected:
    ControlsTest();
    ~ControlsTest() override;

    HWND Make(std::u16string_view className, std::u16string_view text, DWORD style, RECT rect,
              int id);
    void Pump() { system.Pump(); }
    // The notifications with this code, in order.
    std::vector<Command> Commands(WORD code) const;
    COLORREF ScreenPixel(int x, int y) const;
    // How many pixels of the rectangle are of the colour on the screen.
    int CountPixels(const RECT& rect, COLORREF colour) const;

    HeadlessHost host;
    WindowSystem system{host};
    HWND page = nullptr;
    std::vector<Command> commands;
    std::vector<DRAWITEMSTRUCT> drawn;
    // Called for each WM_COMMAND after it is kept.
    std::function<void(const Command&)> onCommand;

  private:
    static LRESULT PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ControlsTest* current_;
};

}  // namespace qv::testing
