#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

#include "platform/gdi/system_metrics.h"
#include "platform/host/headless_host.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {

// A main window on the headless host, with the shell installed, that writes down its commands.
class ShellTest : public ::testing::Test {
  public:
    struct Command {
        int id;
        LPARAM source;
        bool operator==(const Command&) const = default;
    };

  protected:
    ShellTest() {
        current_ = this;
        const WNDCLASSW attributes{.lpfnWndProc = Procedure,
                                   .hbrBackground = GetSysColorBrush(COLOR_WINDOW),
                                   .lpszClassName = u"ShellTestWindow"};
        RegisterClassW(&attributes);
        main = MakeWindow(u"Схема метро", {0, 0, kScreenWidth, kScreenHeight});
        InstallPocketShell();
    }
    ~ShellTest() override { current_ = nullptr; }

    static HWND MakeWindow(std::u16string_view title, RECT rect, DWORD style = WS_POPUP) {
        return CreateWindowExW(0, u"ShellTestWindow", title, WS_VISIBLE | style, rect.left,
                               rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, 0,
                               nullptr, nullptr);
    }
    COLORREF ScreenPixel(int x, int y) const {
        return host.LastFrame()->GetPixel(x * host.DeviceScale(), y * host.DeviceScale());
    }
    WindowSystem::PumpResult Pump() { return system.Pump(); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    std::vector<Command> commands;
    // Called for each WM_TIMER of the main window.
    std::function<void()> timerSeen;

  private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && current_) {
            current_->commands.push_back({LOWORD(wParam), lParam});
            return 0;
        }
        if (message == WM_TIMER && current_ && current_->timerSeen) {
            current_->timerSeen();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    inline static ShellTest* current_ = nullptr;
};

}  // namespace qv::testing
