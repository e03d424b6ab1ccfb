#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/controls/notify_messages.h"
#include "platform/host/headless_host.h"
#include "platform/user/core/window_system.h"

namespace qv::testing {

// A parent window on the headless host that writes down every WM_NOTIFY its controls send
// and lets the test answer them.
class ControlTest : public ::testing::Test {
  protected:
    struct Notice {
        UINT code;
        int item;  // the item of list view and click notifications; -1 otherwise
        UINT newState;
        UINT oldState;
    };
    using Answer = std::function<LRESULT(NMHDR*)>;

    explicit ControlTest(int scale = 1);
    ~ControlTest() override;

    // The notices of one code, in order.
    std::vector<Notice> Notices(UINT code) const;
    void ClearNotices() { notices_.clear(); }
    COLORREF ScreenPixel(int x, int y) const {
        const int scale = host.DeviceScale();
        return host.LastFrame()->GetPixel(x * scale, y * scale);
    }
    WindowSystem::PumpResult Pump() { return system.Pump(); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND parent = nullptr;
    Answer answer;

  private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ControlTest* current_;
    std::vector<Notice> notices_;
};

}  // namespace qv::testing
