#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "framework/dialog_object.h"
#include "framework/message_map.h"
#include "framework/module_state.h"
#include "framework/window_object.h"
#include "platform/host/headless_host.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {

// Handlers set per message; logs every message offered to its map, with its window then.
template <typename Base>
class ScriptedObject : public Base {
  public:
    using Handler = std::function<LRESULT(const Message& message, bool& handled)>;
    using Base::Base;

    struct Seen {
        UINT message;
        HWND hwnd;
    };

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override {
        seen.push_back({message, this->hwnd});
        EXPECT_EQ(window, this->hwnd);
        if (mapId != 0) {
            return false;
        }
        const auto found = handlers.find(message);
        if (found == handlers.end()) {
            return false;
        }
        bool handled = true;
        result = found->second({window, message, wParam, lParam}, handled);
        return handled;
    }
    void OnWindowGone(HWND formerWindow) override {
        gone.push_back(formerWindow);
        hwndWhenGone = this->hwnd;
    }

    std::map<UINT, Handler> handlers;
    std::vector<Seen> seen;
    std::vector<HWND> gone;
    HWND hwndWhenGone = reinterpret_cast<HWND>(1);
};

using ScriptedWindow = ScriptedObject<WindowObject>;
using ScriptedDialog = ScriptedObject<DialogObject>;

class FrameworkTest : public ::testing::Test {
  protected:
    static constexpr int kDialogId = 900;
    static constexpr int kCaptionlessDialogId = 901;

    FrameworkTest() {
        module_.AddResource(kDialogId, kDialog);
        module_.AddResource(kCaptionlessDialogId, kCaptionless);
        EXPECT_EQ(InitModule(&state_, &module_), S_OK);
    }

    HeadlessHost host;
    WindowSystem system{host};

  private:
    static constexpr DialogTemplate kDialog{
        0x80000000 | 0x00C00000, 0, 0, 0, 100, 60, u"Проба", u"System", 8, {}};
    static constexpr DialogTemplate kCaptionless{
        0x80000000 | 0x00800000, 0, 8, 8, 80, 40, u"", u"", 0, {}};
    ResourceModule module_;
    static inline ModuleState state_;
};

}  // namespace qv::testing
