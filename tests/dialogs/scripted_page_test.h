#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "framework/module_state.h"
#include "list_view_text.h"
#include "model/map_file.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/list_view_messages.h"
#include "platform/host/headless_host.h"
#include "platform/pocket/input_panel.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_styles.h"
#include "resources/program_resources.h"

namespace qv::testing {

// A page run over an owner window of the test on a shipped map, driven as a user would: each step
// runs on a timer of the owner once everything before it has been handled, looks at the page and
// queues pen and keys.
class ScriptedPageTest : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND page)>;

    explicit ScriptedPageTest(int scale = 1) : host(scale), system(host) {
        current_ = this;
        EXPECT_EQ(InitModule(&state_, ProgramModule()), S_OK);
        INITCOMMONCONTROLSEX families;
        families.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
        EXPECT_TRUE(InitCommonControlsEx(&families));
        WNDCLASSW attributes;
        attributes.lpfnWndProc = OwnerProcedure;
        attributes.lpszClassName = u"PageOwner";
        RegisterClassW(&attributes);
        owner = CreateWindowExW(0, u"PageOwner", u"Схема метро", WS_VISIBLE, 0, 0, 240, 320,
                                nullptr, 0, nullptr, nullptr);
        SetTimer(owner, 1, 50, nullptr);
    }
    ~ScriptedPageTest() override {
        DestroyInputPanel();
        current_ = nullptr;
    }

    void Load(const char* map) {
        const int loaded =
            LoadMapFileAt(model, std::filesystem::path(QV_MAPS_DIR) / map, Settings{});
        ASSERT_EQ(loaded, 0) << map;
    }
    // Runs `open` (which shows the page modally) with these steps; a page the steps leave open
    // ends when the host's time runs out.
    void Run(std::vector<Step> script, const std::function<void()>& open) {
        steps_ = std::move(script);
        stepsRun = 0;
        host.AllowTime(std::chrono::seconds(30));
        open();
    }

    static std::u16string ItemText(HWND list, int index, int column) {
        return testing::ItemText(list, index, column);
    }
    static int ItemCount(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    }
    static int TopIndex(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    }
    static POINT Centre(HWND window, RECT rect) {
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(window, &point);
        return point;
    }
    static RECT ItemRect(HWND list, int index) {
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), PointerParam(&row));
        return row;
    }
    void TapControl(HWND page, int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(page, id), &rect);
        host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void Shot(const std::string& name) {
        std::filesystem::create_directories(QV_SHOTS_DIR);
        EXPECT_TRUE(host.WriteScreenshot(std::string(QV_SHOTS_DIR) + "/" + name + ".png"));
    }

    HeadlessHost host;
    WindowSystem system;
    HWND owner = nullptr;
    NetworkModel model;
    std::size_t stepsRun = 0;

  private:
    static LRESULT OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER && current_) {
            current_->NextStep();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    void NextStep() {
        const HWND page = GetActiveWindow();
        if (page && page != owner && stepsRun < steps_.size()) {
            steps_[stepsRun++](page);
        }
    }

    std::vector<Step> steps_;
    static inline ScriptedPageTest* current_ = nullptr;
    static inline ModuleState state_;
};

}  // namespace qv::testing
