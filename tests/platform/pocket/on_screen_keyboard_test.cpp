#include "platform/pocket/on_screen_keyboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "plain_window.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_codes.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/defaults/dialog_scroll.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

constexpr WORD kName = 101;
constexpr DialogItemTemplate kItems[] = {
    {u"EDIT", u"", kName, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 4, 4, 100, 12},
    {u"BUTTON", u"ok", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 4, 20, 40, 14},
};
constexpr DialogTemplate kDialog{WS_POPUP, 0, 0, 0, 110, 60, u"", u"", 0, kItems};
constexpr UINT_PTR kStepTimer = 7;
constexpr INT_PTR kStuck = 99;

using KeyMessage = std::pair<UINT, WPARAM>;

// A modal page with one edit; one step per timer tick, as a user's taps would come.
class OnScreenKeyboardTest : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND dialog)>;

    OnScreenKeyboardTest() {
        current = this;
        EXPECT_TRUE(RegisterStandardControls());
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 0, kScreenWidth, kScreenHeight});
    }
    ~OnScreenKeyboardTest() override {
        DestroyInputPanel();
        current = nullptr;
    }

    INT_PTR Run(std::vector<Step> script) {
        steps = std::move(script);
        host.AllowTime(std::chrono::seconds(20));
        return DialogBoxIndirectParamW(nullptr, &kDialog, main, Procedure, 0);
    }

    static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        OnScreenKeyboardTest& test = *current;
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog,
                               SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
            SHInitDialog(&info);
            test.edit = GetDlgItem(dialog, kName);
            test.editProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongW(test.edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(EditSpy)));
            SetTimer(dialog, kStepTimer, 50, nullptr);
        } else if (message == WM_TIMER && test.next < test.steps.size()) {
            test.steps[test.next++](dialog);
        } else if (message == WM_TIMER || (message == WM_COMMAND && LOWORD(wParam) == IDOK)) {
            EndDialog(dialog, message == WM_TIMER ? kStuck : IDOK);
        }
        return message == WM_INITDIALOG || message == WM_TIMER || message == WM_COMMAND;
    }

    static LRESULT EditSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        OnScreenKeyboardTest& test = *current;
        if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_KEYUP) {
            test.keys.push_back({message, wParam});
        }
        return CallWindowProcW(test.editProcedure, window, message, wParam, lParam);
    }

    static const OnScreenKeyboard& State() {
        return *ControlStateOf<OnScreenKeyboard>(InputPanelKeyboard());
    }
    static POINT KeyPoint(KeyAction action, char16_t character = 0) {
        const RECT panel = InputPanelRect();
        for (const KeyCap& key : State().State().Layout().keys) {
            if (key.action == action && (character == 0 || key.character == character)) {
                return {panel.left + (key.rect.left + key.rect.right) / 2,
                        panel.top + (key.rect.top + key.rect.bottom) / 2};
            }
        }
        ADD_FAILURE() << "no such key";
        return {};
    }
    void Tap(KeyAction action, char16_t character = 0) {
        const POINT at = KeyPoint(action, character);
        host.Tap(at.x, at.y);
    }
    void TapLetters(std::u16string_view letters) {
        for (const char16_t c : letters) {
            Tap(KeyAction::Character, c);
        }
    }
    static void Raise() { ASSERT_TRUE(SetInputPanel(InputPanelState::Up)); }
    std::u16string Text() const { return GetWindowText(edit); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    HWND edit = nullptr;
    WNDPROC editProcedure = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    std::vector<KeyMessage> keys;
    inline static OnScreenKeyboardTest* current = nullptr;
};

TEST_F(OnScreenKeyboardTest, TapsTypeIntoTheFocusedEditOfAModalPageWithoutMovingTheFocus) {
    // Up before the page starts: its set-up lowers it, and its modal loop leaves it usable.
    Raise();
    const INT_PTR result = Run({
        [&](HWND) {
            ASSERT_EQ(GetFocus(), edit);
            EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
            MoveWindow(edit, 8, 250, 100, 20, 1);  // where the keyboard comes up
            Raise();
            RECT shown{};
            GetWindowRect(edit, &shown);
            EXPECT_EQ(shown.bottom, InputPanelRect().top - kDialogScrollMargin) << "scrolled to";
            EXPECT_TRUE(IsWindowEnabled(InputPanelKeyboard()));
            TapLetters(u"при");
        },
        [&](HWND d) {
            EXPECT_EQ(Text(), u"при");
            // As a physical keyboard gives them, with the key of the letter's Russian place.
            keys.resize(3);
            EXPECT_EQ(keys, (std::vector<KeyMessage>{
                                {WM_KEYDOWN, 'G'}, {WM_CHAR, u'п'}, {WM_KEYUP, 'G'}}));
            EXPECT_EQ(GetActiveWindow(), d);
            // Shift makes one capital, Caps capitals until tapped again, both a small letter.
            Tap(KeyAction::Shift);
            TapLetters(u"вв");
            Tap(KeyAction::Caps);
            TapLetters(u"е");
            Tap(KeyAction::Shift);
            TapLetters(u"тт");
            Tap(KeyAction::Caps);
            TapLetters(u"ё");
            Tap(KeyAction::Backspace);
            Tap(KeyAction::Backspace);
            // The layout key goes round Latin, digits and punctuation, and back to Russian.
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            Tap(KeyAction::Shift);
            TapLetters(u"qz");
            Tap(KeyAction::Space);
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            TapLetters(u"1!№");
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            Tap(KeyAction::Shift);
            Tap(KeyAction::Shift);  // and off again
            TapLetters(u"я");
            // A physical keyboard keeps working beside the panel.
            host.Type(u"x");
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"приВвЕтQz 1!№яx");
            // Return is the key of a physical keyboard: the page's default button takes it.
            Tap(KeyAction::Return);
        },
    });
    EXPECT_EQ(result, IDOK);
    // The activation goes back to the main window, never to the keyboard.
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
}

TEST_F(OnScreenKeyboardTest, AHeldKeyShowsAboveTheFingerAndTypesOnlyWhereThePenIsLifted) {
    edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 4, 30, 200, 20, main, 0, nullptr,
                           nullptr);
    SetFocus(edit);
    Raise();
    const auto at = [&](KeyAction action, char16_t character, void (HeadlessHost::*pen)(int, int)) {
        const POINT p = KeyPoint(action, character);
        (host.*pen)(p.x, p.y);
        system.Pump();
    };
    at(KeyAction::Character, u'й', &HeadlessHost::PenDown);
    ASSERT_NE(State().Preview(), nullptr);
    // Slid off, a key looks raised again: й, in the corner, has its light edge back.
    at(KeyAction::Character, u'ё', &HeadlessHost::PenMove);
    EXPECT_EQ(host.LastFrame()->GetPixel(0, InputPanelRect().top), RGB(255, 255, 255));
    // Sliding moves the press and the preview: above the key, centred or kept on the screen.
    enum Place { LeftEdge, Centred, RightEdge };
    const std::pair<char16_t, Place> slides[] = {
        {u'й', LeftEdge}, {u'ё', RightEdge}, {u'н', Centred}, {u'ф', LeftEdge}, {u'ъ', RightEdge}};
    for (const auto& [letter, place] : slides) {
        at(KeyAction::Character, letter, &HeadlessHost::PenMove);
        EXPECT_EQ(GetWindowText(State().Preview()), std::u16string(1, letter));
        RECT shown{};
        GetWindowRect(State().Preview(), &shown);
        const POINT key = KeyPoint(KeyAction::Character, letter);
        const LONG width = shown.right - shown.left;
        const LONG lefts[] = {0, key.x - width / 2, kScreenWidth - width};
        EXPECT_EQ(shown.left, lefts[place]) << static_cast<int>(letter);
        EXPECT_LE(shown.bottom, key.y - 10) << "clear of the key";
    }
    at(KeyAction::Character, u'ъ', &HeadlessHost::PenUp);
    // Off the keyboard the press is let go and nothing is typed.
    at(KeyAction::Character, u'ф', &HeadlessHost::PenDown);
    host.PenMove(10, InputPanelRect().top - 20);
    host.PenUp(10, InputPanelRect().top - 20);
    system.Pump();
    EXPECT_FALSE(IsWindowVisible(State().Preview()));
    EXPECT_EQ(State().Pressed(), nullptr);
    // A letter held long does not repeat, and lowering the panel lets it go untyped.
    host.AllowTime(std::chrono::milliseconds(750));
    at(KeyAction::Character, u'ф', &HeadlessHost::PenDown);
    ASSERT_TRUE(SetInputPanel(InputPanelState::Down));
    at(KeyAction::Character, u'ф', &HeadlessHost::PenUp);
    Raise();

    // Held 750 ms, Backspace repeats from 500 ms every 100 ms; moved on or let go, types no more.
    host.Type(u"абвгдежзи");
    host.AllowTime(std::chrono::milliseconds(750));
    at(KeyAction::Backspace, 0, &HeadlessHost::PenDown);
    at(KeyAction::Backspace, 0, &HeadlessHost::PenMove);
    at(KeyAction::Backspace, 0, &HeadlessHost::PenUp);
    EXPECT_EQ(Text(), u"ъабвгде");
    at(KeyAction::Backspace, 0, &HeadlessHost::Tap);
    EXPECT_EQ(Text(), u"ъабвгд");
    // Shift on stays drawn held down, its corner dark where a raised key's is light.
    at(KeyAction::Shift, 0, &HeadlessHost::Tap);
    EXPECT_EQ(host.LastFrame()->GetPixel(0, InputPanelRect().top + kInputPanelHeight / 2),
              RGB(0, 0, 0));
}

TEST(KeyboardLayouts, KeysDoNotOverlapEveryLetterHasACapitalOnTheSameKeyAndEachKeyIsPressed) {
    for (const auto& [id, letters] : {std::pair{KeyboardLayoutId::Russian, 33},
                                      {KeyboardLayoutId::Latin, 26},
                                      {KeyboardLayoutId::Symbols, 0}}) {
        int capitals = 0;
        for (const KeyCap& key : LayoutOf(id).keys) {
            const POINT middle{(key.rect.left + key.rect.right) / 2,
                               (key.rect.top + key.rect.bottom) / 2};
            EXPECT_EQ(KeyAt(LayoutOf(id), middle), &key);
            if (key.action == KeyAction::Character) {
                EXPECT_NE(VirtualKeyOf(key.character), 0) << "a key press for every key";
                EXPECT_EQ(VirtualKeyOf(CapitalOf(key.character)), VirtualKeyOf(key.character));
                capitals += CapitalOf(key.character) != key.character ? 1 : 0;
            }
        }
        EXPECT_EQ(capitals, letters);
    }
    // The key of a physical Russian or US keyboard that types the character, shifted or not.
    constexpr std::u16string_view kTyped = u"qZйЁжю1!0)(@#№%&*-+=;:'\"/?,. €é";
    constexpr int kKeys[] = {
        'Q',      'Z',      'Q',      VK_OEM_3,     VK_OEM_1,    VK_OEM_PERIOD, '1',
        '1',      '0',      '0',      '9',          '2',         '3',           '3',
        '5',      '7',      '8',      VK_OEM_MINUS, VK_OEM_PLUS, VK_OEM_PLUS,   VK_OEM_1,
        VK_OEM_1, VK_OEM_7, VK_OEM_7, VK_OEM_2,     VK_OEM_2,    VK_OEM_COMMA,  VK_OEM_PERIOD,
        VK_SPACE, 0,        0};
    static_assert(std::size(kKeys) == kTyped.size());
    for (std::size_t i = 0; i < kTyped.size(); ++i) {
        EXPECT_EQ(VirtualKeyOf(kTyped[i]), kKeys[i]) << static_cast<int>(kTyped[i]);
    }
}

}  // namespace
}  // namespace qv
