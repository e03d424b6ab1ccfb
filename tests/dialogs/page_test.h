#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/module_state.h"
#include "list_view_text.h"
#include "model/map_file.h"
#include "plain_window.h"
#include "platform/controls/common_controls.h"
#include "platform/host/headless_host.h"
#include "platform/pocket/input_panel.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "resources/program_resources.h"

namespace qv::testing {

// A page run over an owner window of the test, driven as a user would: each step runs on a timer
// of the owner once everything before it has been handled, looks at the page and queues pen and
// keys. A page the steps leave open ends when the host's time runs out.
class PageTest : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND page)>;

    explicit PageTest(int scale = 1) : host(scale), system(host) {
        current_ = this;
        EXPECT_EQ(InitModule(&state_, ProgramModule()), S_OK);
        INITCOMMONCONTROLSEX families;
        families.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
        EXPECT_TRUE(InitCommonControlsEx(&families));
        owner = MakePlainWindow(WS_POPUP | WS_VISIBLE, {0, 0, 240, 320}, u"Схема метро");
        SetTimer(owner, 1, 50, [](HWND, UINT, UINT_PTR, DWORD) { current_->NextStep(); });
    }
    ~PageTest() override {
        DestroyInputPanel();
        current_ = nullptr;
    }

    void Load(const char* map) {
        ASSERT_EQ(LoadMapFileAt(model, std::filesystem::path(QV_MAPS_DIR) / map, Settings{}), 0);
    }
    void Run(std::vector<Step> script, const std::function<void()>& open) {
        steps_ = std::move(script);
        stepsRun = 0;
        host.AllowTime(std::chrono::seconds(30));
        open();
    }

    // A message's answer as a number.
    static int Ask(HWND window, UINT message, WPARAM wParam = 0) {
        return static_cast<int>(SendMessageW(window, message, wParam, 0));
    }
    static RECT ItemRect(HWND list, int index, int part = LVIR_BOUNDS) {
        RECT row{};
        row.left = part;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), PointerParam(&row));
        POINT corners[2] = {{row.left, row.top}, {row.right, row.bottom}};
        ClientToScreen(list, &corners[0]);
        ClientToScreen(list, &corners[1]);
        return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    void TapAt(RECT rect) { host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }
    // Taps the middle of a rectangle of the window's client area.
    void TapIn(HWND window, RECT rect) {
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(window, &point);
        host.Tap(point.x, point.y);
    }
    void TapControl(HWND page, int id) { TapAt(ScreenRect(GetDlgItem(page, id))); }
    static BYTE CharSet(HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font.lfCharSet;
    }
    static RECT ScreenRect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    HeadlessHost host;
    WindowSystem system;
    HWND owner = nullptr;
    NetworkModel model;
    std::size_t stepsRun = 0;

  private:
    void NextStep() {
        const HWND page = GetActiveWindow();
        if (page && page != owner && stepsRun < steps_.size()) {
            steps_[stepsRun++](page);
        }
    }

    std::vector<Step> steps_;
    static inline PageTest* current_ = nullptr;
    static inline ModuleState state_;
};

}  // namespace qv::testing
