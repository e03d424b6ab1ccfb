#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/module_state.h"
#include "plain_window.h"
#include "platform/controls/common_controls.h"
#include "platform/host/headless_host.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "resources/program_resources.h"

namespace qv::testing {

// A page with a window into it: `onOpen` runs once the page is set up and before any input,
// `onOk` on every OK before the page sees it, and each window that takes the activation from
// the page leaves its caption and its controls' texts in `interruptions`.
template <typename Page>
class ProbedPage : public Page {
  public:
    using Page::Page;

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override {
        if (message == kOpened) {
            if (onOpen) {
                onOpen(this->hwnd);
            }
            return true;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            ++oks;
            if (onOk) {
                onOk(this->hwnd);
            }
        }
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && lParam != 0) {
            const auto other = reinterpret_cast<HWND>(lParam);
            std::u16string seen = GetWindowText(other);
            for (HWND child = GetWindow(other, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                seen += u"|" + GetWindowText(child);
            }
            interruptions.push_back(seen);
        }
        const bool handled = Page::HandleMessage(window, message, wParam, lParam, result, mapId);
        if (message == WM_INITDIALOG) {
            PostMessageW(this->hwnd, kOpened, 0, 0);
        }
        return handled;
    }

    std::function<void(HWND)> onOpen;
    std::function<void(HWND)> onOk;
    std::vector<std::u16string> interruptions;
    int oks = 0;

  private:
    static constexpr UINT kOpened = WM_USER + 0x100;
};

// The program's resources on the headless host, an owner window of the test's own and a
// settings file in a folder of the test's own.
class PageTest : public ::testing::Test {
  protected:
    explicit PageTest(int scale = 1) : host(scale) {
        EXPECT_EQ(InitModule(&state_, ProgramModule()), S_OK);
        EXPECT_TRUE(RegisterStandardControls());
        owner = testing::MakePlainWindow(WS_POPUP | WS_VISIBLE, {0, 0, 240, 320}, u"Схема метро");
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(::testing::TempDir()) / "quorvane-pages" /
                 (std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        settingsPath = folder / "quorvane.ini";
    }
    ~PageTest() override { std::filesystem::remove_all(folder); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND owner = nullptr;
    std::filesystem::path folder;
    std::filesystem::path settingsPath;

  private:
    static inline ModuleState state_;
};

}  // namespace qv::testing
