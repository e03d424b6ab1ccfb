#include "platform/user/defaults/dialog_manager.h"

#include <gtest/gtest.h>

#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;

constexpr WORD kProbeId = 100;

constexpr DialogItemTemplate kItems[] = {
    {u"Probe", u"", 101, WS_VISIBLE, 0, 4, 40, 40, 12},
    {u"Probe", u"", kProbeId, WS_VISIBLE | WS_TABSTOP, 0, 5, 4, 41, 12},
};
constexpr DialogTemplate kDialog{
    WS_POPUP | WS_CAPTION, 0, 10, 10, 100, 80, u"Проба", u"System", 8, kItems};
constexpr DialogItemTemplate kBrokenItems[] = {{u"NoSuchControl", u"", 1, WS_VISIBLE}};
constexpr DialogTemplate kBroken{WS_POPUP, 0, 0, 0, 50, 50, u"", u"", 0, kBrokenItems};

// What the dialog procedure saw and does; one dialog runs at a time.
struct Script {
    std::vector<UINT> messages;
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handle;
};
Script* g_script = nullptr;

INT_PTR ScriptedDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    g_script->messages.push_back(message);
    return g_script->handle ? g_script->handle(dialog, message, wParam, lParam) : 0;
}

class Dialogs : public WindowTest {
  protected:
    Dialogs() {
        const WNDCLASSW probe{.lpfnWndProc = DefWindowProcW, .lpszClassName = u"Probe"};
        RegisterClassW(&probe);
        g_script = &script;
        main = Make("main", WS_VISIBLE, kScreen);
    }
    ~Dialogs() override { g_script = nullptr; }

    INT_PTR Run(const DialogTemplate* dialogTemplate = &kDialog, LPARAM parameter = 0) {
        return DialogBoxIndirectParamW(nullptr, dialogTemplate, main, ScriptedDialog, parameter);
    }

    Script script;
    HWND main = nullptr;
};

TEST_F(Dialogs, ControlsComeFromTheTemplateInDialogUnitsOfItsFont) {
    // The device's dialog face is narrower than its system face: four units across are seven
    // pixels in "System" 8 and six in "MS Sans Serif" 8, eight down a line; each edge rounds down.
    constexpr DialogTemplate kNarrow{WS_POPUP | WS_CAPTION, 0, 10,    10, 100, 80, u"Проба",
                                     u"MS Sans Serif",      8, kItems};
    for (const auto& [dialogTemplate, probeWidth, unitsOfFour] :
         {std::tuple{&kDialog, 72, 7}, {&kNarrow, 62, 6}}) {
        RECT probe{};
        RECT frame{};
        script.handle = [&](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR {
            if (m == WM_INITDIALOG) {
                GetWindowRect(GetDlgItem(d, kProbeId), &probe);
                GetWindowRect(d, &frame);
                EndDialog(d, 1);
            }
            return 0;
        };
        EXPECT_EQ(Run(dialogTemplate), 1);
        EXPECT_EQ(probe.right - probe.left, probeWidth);
        EXPECT_EQ(probe.bottom - probe.top, 21) << "12 units of a 14-pixel line";
        // The same units give the same pixels for the dialog (10 across) and inside its border.
        EXPECT_EQ(frame.left, 10 * unitsOfFour / 4);
        EXPECT_EQ(probe.left - frame.left, 1 + 5 * unitsOfFour / 4);
    }
}

TEST_F(Dialogs, EscapeClosingOrGoingEndTheDialogAndOnesThatCannotBeMadeFail) {
    // Each dialog posts itself a message once made: Close is left to the dialog manager, which
    // asks for Cancel; kGo destroys it without ending it. One destroyed while made fails.
    constexpr UINT kGo = WM_USER + 100;
    const std::tuple<int, UINT, INT_PTR> cases[] = {
        {VK_ESCAPE, 0, IDCANCEL}, {0, WM_CLOSE, IDCANCEL}, {0, kGo, 0}, {0, WM_DESTROY, -1}};
    for (const auto& [key, posted, result] : cases) {
        script.handle = [&](HWND d, UINT m, WPARAM w, LPARAM) -> INT_PTR {
            if (m == WM_INITDIALOG && posted == WM_DESTROY) {
                DestroyWindow(d);
            } else if (m == WM_INITDIALOG && posted) {
                PostMessageW(d, posted, 0, 0);
            } else if (m == kGo) {
                DestroyWindow(d);
            } else if (m == WM_COMMAND && LOWORD(w) == IDCANCEL) {
                EndDialog(d, IDCANCEL);
                return 1;
            }
            return 0;
        };
        if (key) {
            host.Key(key);
        }
        EXPECT_EQ(Run(), result) << posted;
        EXPECT_EQ(std::pair(GetActiveWindow(), IsWindowEnabled(main)), std::pair(main, 1));
    }
    // A window disabled before the dialog stays disabled after it.
    script.handle = [](HWND d, UINT m, WPARAM w, LPARAM) -> INT_PTR {
        return m == WM_COMMAND && LOWORD(w) == IDCANCEL && EndDialog(d, IDCANCEL);
    };
    EnableWindow(main, 0);
    host.Key(VK_ESCAPE);
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_FALSE(IsWindowEnabled(main));
    script.messages.clear();
    EXPECT_EQ(Run(nullptr), -1);
    EXPECT_EQ(Run(&kBroken), -1);
    // The broken one was taken down before its initialisation.
    EXPECT_EQ(std::count(script.messages.begin(), script.messages.end(), WM_INITDIALOG), 0);
    EXPECT_EQ(system.TopLevelWindows(), (std::vector<HWND>{main}));
    EXPECT_EQ(DialogBoxParamW(nullptr, 200, main, ScriptedDialog, 0), -1);
    EXPECT_FALSE(EndDialog(main, 1));  // not a dialog
}

}  // namespace
}  // namespace qv
