#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/controls/common_controls.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/notify_messages.h"
#include "platform/host/headless_host.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/user_types.h"

namespace qv::testing {

// A full-screen page on the headless host that the controls under test are children of; it
// keeps every WM_COMMAND, WM_DRAWITEM and WM_NOTIFY it receives and lets the test answer the
// notifications and WM_CTLCOLORSTATIC.
class ControlsTest : public ::testing::Test {
  public:
    struct Command {
        int id = 0;
        WORD code = 0;
        HWND from = nullptr;
        bool operator==(const Command&) const = default;
    };
    struct Notice {
        UINT code;
        int item;  // the item of list view and click notifications; -1 otherwise
        UINT newState;
        UINT oldState;
        bool operator==(const Notice&) const = default;
    };
    using Answer = std::function<LRESULT(NMHDR*)>;

  protected:
    ControlsTest();
    ~ControlsTest() override;

    HWND Make(std::u16string_view className, std::u16string_view text, DWORD style, RECT rect,
              int id);
    WindowSystem::PumpResult Pump() { return system.Pump(); }
    std::vector<Command> Commands(WORD code) const { return WithCode(commands, code); }
    std::vector<Notice> Notices(UINT code) const { return WithCode(notices_, code); }
    void ClearNotices() { notices_.clear(); }
    COLORREF ScreenPixel(int x, int y) const {
        return host.LastFrame()->GetPixel(x * host.DeviceScale(), y * host.DeviceScale());
    }
    // How many pixels of the rectangle are of the colour on the screen.
    int CountPixels(const RECT& rect, COLORREF colour) const;

    HeadlessHost host;
    WindowSystem system{host};
    HWND page = nullptr;
    HWND& parent = page;
    std::vector<Command> commands;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::function<void(const Command&)> onCommand;
    Answer answer;
    HBRUSH staticBackground = nullptr;

  private:
    template <class Record>
    static std::vector<Record> WithCode(const std::vector<Record>& records, UINT code) {
        std::vector<Record> found;
        std::copy_if(records.begin(), records.end(), std::back_inserter(found),
                     [&](const Record& record) { return record.code == code; });
        return found;
    }
    static LRESULT PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ControlsTest* current_;
    std::vector<Notice> notices_;
};

}  // namespace qv::testing
