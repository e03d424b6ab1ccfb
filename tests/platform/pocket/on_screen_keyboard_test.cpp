#include "platform/pocket/on_screen_keyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
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

// What the edit was sent, in order: its key and character messages.
struct KeyMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    bool operator==(const KeyMessage&) const = default;
};

class OnScreenKeyboardTest;
OnScreenKeyboardTest* g_test = nullptr;

// A page of the shell with one edit, run modally over the program's main window; the keyboard is
// driven through the headless host one step per timer tick, as a user's taps would come.
class OnScreenKeyboardTest : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND dialog)>;

    OnScreenKeyboardTest() {
        g_test = this;
        EXPECT_TRUE(RegisterStandardControls());
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 0, kScreenWidth, kScreenHeight});
    }
    ~OnScreenKeyboardTest() override {
        DestroyInputPanel();
        g_test = nullptr;
    }

    // A step that lets `ticks` step periods pass before it does `then`.
    Step After(int ticks, Step then) {
        auto left = std::make_shared<int>(ticks);
        return [this, left, then](HWND dialog) {
            if ((*left)-- > 0) {
                --next;
                return;
            }
            then(dialog);
        };
    }

    INT_PTR Run(std::vector<Step> script) {
        steps = std::move(script);
        host.AllowTime(std::chrono::seconds(20));
        return DialogBoxIndirectParamW(nullptr, &kDialog, main, Procedure, 0);
    }

    static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        OnScreenKeyboardTest& test = *g_test;
        switch (message) {
            case WM_INITDIALOG: {
                SHINITDLGINFO info{SHIDIM_FLAGS, dialog,
                                   SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
                SHInitDialog(&info);
                test.edit = GetDlgItem(dialog, kName);
                test.editProcedure = reinterpret_cast<WNDPROC>(
                    SetWindowLongW(test.edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(EditSpy)));
                SetTimer(dialog, kStepTimer, 50, nullptr);
                return 1;
            }
            case WM_TIMER:
                if (test.next < test.steps.size()) {
                    test.steps[test.next++](dialog);
                } else {
                    EndDialog(dialog, kStuck);
                }
                return 1;
            case WM_COMMAND:
                if (LOWORD(wParam) == kName && HIWORD(wParam) == EN_CHANGE) {
                    test.changes.push_back(GetWindowText(test.edit));
                } else if (LOWORD(wParam) == kName && HIWORD(wParam) == EN_KILLFOCUS) {
                    ++test.focusLosses;
                } else if (LOWORD(wParam) == IDOK) {
                    test.textAtEnd = GetWindowText(test.edit);
                    EndDialog(dialog, IDOK);
                }
                return 1;
            default:
                return 0;
        }
    }

    static LRESULT EditSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        OnScreenKeyboardTest& test = *g_test;
        if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_KEYUP) {
            test.keys.push_back({message, wParam});
        }
        return CallWindowProcW(test.editProcedure, window, message, wParam, lParam);
    }

    static const OnScreenKeyboard& State() {
        return *ControlStateOf<OnScreenKeyboard>(InputPanelKeyboard());
    }
    // The middle of the key on the screen: the first character key showing `label`, or the
    // first key doing `action`.
    static POINT KeyPoint(KeyAction action, char16_t character = 0) {
        const KeyboardState& state = State().State();
        for (const KeyCap& key : state.Layout().keys) {
            if (key.action == action && (character == 0 || key.character == character)) {
                const RECT panel = InputPanelRect();
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
    static void Raise() {
        SIPINFO info;
        info.cbSize = sizeof(SIPINFO);
        ASSERT_TRUE(SipGetInfo(&info));
        info.fdwFlags |= SIPF_ON;
        ASSERT_TRUE(SipSetInfo(&info));
    }
    std::u16string Text() const { return GetWindowText(edit); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    HWND edit = nullptr;
    WNDPROC editProcedure = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    std::vector<std::u16string> changes;
    std::vector<KeyMessage> keys;
    int focusLosses = 0;
    std::u16string textAtEnd;
};

TEST_F(OnScreenKeyboardTest, TapsTypeIntoTheFocusedEditOfAModalPageWithoutMovingTheFocus) {
    HWND page = nullptr;
    // Up before the page starts: its set-up lowers it, and its modal loop leaves it usable.
    Raise();
    const INT_PTR result = Run({
        [&](HWND d) {
            page = d;
            ASSERT_EQ(GetFocus(), edit);
            EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
            Raise();
            // The page makes room for the panel; the main window, disabled by the modal loop,
            // stays so, while the keyboard stays usable.
            RECT placed;
            GetWindowRect(d, &placed);
            EXPECT_EQ(placed, PageRect(PageSizing::FullScreen, InputPanelState::Up));
            EXPECT_FALSE(IsWindowEnabled(main));
            EXPECT_TRUE(IsWindowEnabled(InputPanelKeyboard()));
            TapLetters(u"при");
        },
        [&](HWND d) {
            EXPECT_EQ(changes, (std::vector<std::u16string>{u"п", u"пр", u"при"}));
            // As a physical keyboard gives them: the key of the letter's place on the Russian
            // keyboard, the character, the release.
            ASSERT_GE(keys.size(), 3u);
            EXPECT_EQ(keys[0], (KeyMessage{WM_KEYDOWN, 'G'}));
            EXPECT_EQ(keys[1], (KeyMessage{WM_CHAR, u'п'}));
            EXPECT_EQ(keys[2], (KeyMessage{WM_KEYUP, 'G'}));
            EXPECT_EQ(GetFocus(), edit);
            EXPECT_EQ(GetActiveWindow(), d);
            keys.clear();
            // Shift makes one capital; Caps makes capitals until it is tapped again, and Shift
            // with Caps makes a small letter.
            Tap(KeyAction::Shift);
            TapLetters(u"вв");
            Tap(KeyAction::Caps);
            TapLetters(u"е");
            Tap(KeyAction::Shift);
            TapLetters(u"тт");
            Tap(KeyAction::Caps);
            TapLetters(u"ё");
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"приВвЕтТё");
            EXPECT_FALSE(State().State().Shift());
            EXPECT_FALSE(State().State().Caps());
            keys.clear();
            Tap(KeyAction::Backspace);
            Tap(KeyAction::Backspace);
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"приВвЕт");
            ASSERT_EQ(keys.size(), 6u);
            EXPECT_EQ(keys[0], (KeyMessage{WM_KEYDOWN, VK_BACK}));
            EXPECT_EQ(keys[1], (KeyMessage{WM_CHAR, u'\b'}));
            EXPECT_EQ(keys[2], (KeyMessage{WM_KEYUP, VK_BACK}));
            // The layout key goes round Latin, digits and punctuation, and back to Russian.
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            EXPECT_EQ(State().State().Layout().id, KeyboardLayoutId::Latin);
            Tap(KeyAction::Shift);
            TapLetters(u"qz");
            Tap(KeyAction::Space);
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            EXPECT_EQ(State().State().Layout().id, KeyboardLayoutId::Symbols);
            TapLetters(u"1!№");
            Tap(KeyAction::NextLayout);
        },
        [&](HWND) {
            EXPECT_EQ(State().State().Layout().id, KeyboardLayoutId::Russian);
            TapLetters(u"ж");
            // A physical keyboard keeps working beside the panel.
            host.Type(u"x");
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"приВвЕтQz 1!№жx");
            // One change for each character typed and for each of the two taken back.
            EXPECT_EQ(changes.size(), Text().size() + 4);
            EXPECT_EQ(GetFocus(), edit);
            EXPECT_EQ(focusLosses, 0);
            // Return is the key of a physical keyboard: the page's default button takes it.
            Tap(KeyAction::Return);
        },
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(textAtEnd, u"приВвЕтQz 1!№жx");
    EXPECT_FALSE(IsWindow(page));
    // The activation goes back to the main window, never to the keyboard.
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
}

TEST_F(OnScreenKeyboardTest, AHeldKeyShowsAboveTheFingerAndTypesOnlyWhereThePenIsLifted) {
    const INT_PTR result = Run({
        [&](HWND) {
            Raise();
            const POINT first = KeyPoint(KeyAction::Character, u'й');
            host.PenDown(first.x, first.y);
        },
        [&](HWND) {
            const HWND preview = State().Preview();
            ASSERT_NE(preview, nullptr);
            EXPECT_TRUE(IsWindowVisible(preview));
            EXPECT_EQ(GetWindowText(preview), u"й");
            RECT shown;
            GetWindowRect(preview, &shown);
            // Above the key, larger than it, and kept on the screen at its left edge.
            EXPECT_LE(shown.bottom, InputPanelRect().top);
            EXPECT_EQ(shown.left, 0);
            EXPECT_GT(shown.bottom - shown.top, kInputPanelHeight / 4);
            EXPECT_TRUE(Text().empty());
            // Sliding to the last key of the row moves the press and the preview with it.
            const POINT last = KeyPoint(KeyAction::Character, u'ъ');
            host.PenMove(last.x, last.y);
        },
        [&](HWND) {
            const HWND preview = State().Preview();
            EXPECT_EQ(GetWindowText(preview), u"ъ");
            RECT shown;
            GetWindowRect(preview, &shown);
            EXPECT_EQ(shown.right, kScreenWidth);
            ASSERT_NE(State().Pressed(), nullptr);
            EXPECT_EQ(State().Pressed()->character, u'ъ');
            const POINT shift = KeyPoint(KeyAction::Shift);
            host.PenMove(shift.x, shift.y);
        },
        [&](HWND) {
            // A key that types no character shows no preview.
            EXPECT_FALSE(IsWindowVisible(State().Preview()));
            const POINT last = KeyPoint(KeyAction::Character, u'ъ');
            host.PenMove(last.x, last.y);
            host.PenUp(last.x, last.y);
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"ъ");
            EXPECT_FALSE(IsWindowVisible(State().Preview()));
            EXPECT_EQ(State().Pressed(), nullptr);
            // Off the keyboard the press is let go and nothing is typed.
            const POINT key = KeyPoint(KeyAction::Character, u'ф');
            host.PenDown(key.x, key.y);
            host.PenMove(key.x, InputPanelRect().top - 20);
            host.PenUp(key.x, InputPanelRect().top - 20);
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"ъ");
            EXPECT_EQ(State().Pressed(), nullptr);
            EXPECT_FALSE(IsWindowVisible(State().Preview()));
            // Lowering the panel while a key is held lets it go without typing.
            const POINT key = KeyPoint(KeyAction::Character, u'ф');
            host.PenDown(key.x, key.y);
        },
        [&](HWND) {
            ASSERT_NE(State().Pressed(), nullptr);
            ASSERT_TRUE(SetInputPanel(InputPanelState::Down));
            EXPECT_EQ(State().Pressed(), nullptr);
            EXPECT_EQ(GetCapture(), nullptr);
            const POINT key = KeyPoint(KeyAction::Character, u'ф');
            host.PenUp(key.x, key.y);
        },
        [&](HWND) {
            EXPECT_EQ(Text(), u"ъ");
            EXPECT_EQ(GetFocus(), edit);
            // Backspace held for 750 ms repeats from 500 ms on, every 100 ms, and its release
            // types nothing more; a short tap takes one letter.
            ASSERT_TRUE(SetInputPanel(InputPanelState::Up));
            host.Type(u"абвгдежзи");
            const POINT back = KeyPoint(KeyAction::Backspace);
            host.PenDown(back.x, back.y);
        },
        After(14,
              [&](HWND) {
                  const POINT back = KeyPoint(KeyAction::Backspace);
                  host.PenUp(back.x, back.y);
              }),
        [&](HWND) {
            EXPECT_EQ(Text(), u"ъабвгде");
            const POINT back = KeyPoint(KeyAction::Backspace);
            host.Tap(back.x, back.y);
        },
        [&](HWND) { EXPECT_EQ(Text(), u"ъабвгд"); },
    });
    EXPECT_EQ(result, kStuck);
}

TEST_F(OnScreenKeyboardTest, ShiftAndCapsLookHeldAndTheLettersShowAsTheyWouldType) {
    Raise();
    system.Pump();
    const auto pixels = [&](KeyAction action, char16_t character = 0) {
        const POINT middle = KeyPoint(action, character);
        std::vector<COLORREF> found;
        for (int y = middle.y - 6; y <= middle.y + 6; ++y) {
            for (int x = middle.x - 4; x <= middle.x + 4; ++x) {
                found.push_back(host.LastFrame()->GetPixel(x, y));
            }
        }
        return found;
    };
    const auto shift = pixels(KeyAction::Shift);
    const auto caps = pixels(KeyAction::Caps);
    const auto letter = pixels(KeyAction::Character, u'ж');
    struct Case {
        KeyAction tapped;
        char16_t character;
        bool shiftHeld;
        bool capsHeld;
        bool capital;
    };
    const Case cases[] = {
        {KeyAction::Shift, 0, true, false, true},
        {KeyAction::Character, u'й', false, false, false},
        {KeyAction::Caps, 0, false, true, true},
        {KeyAction::Shift, 0, true, true, false},
        {KeyAction::Character, u'й', false, true, true},
        {KeyAction::Caps, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tapped));
        Tap(c.tapped, c.character);
        system.Pump();
        EXPECT_EQ(pixels(KeyAction::Shift) != shift, c.shiftHeld);
        EXPECT_EQ(pixels(KeyAction::Caps) != caps, c.capsHeld);
        EXPECT_EQ(pixels(KeyAction::Character, u'ж') != letter, c.capital);
    }
}

TEST(KeyboardLayouts, FillThePanelWithKeysThatAPhysicalKeyboardAlsoHas) {
    for (const KeyboardLayoutId id :
         {KeyboardLayoutId::Russian, KeyboardLayoutId::Latin, KeyboardLayoutId::Symbols}) {
        const KeyboardLayout& layout = LayoutOf(id);
        EXPECT_EQ(layout.id, id);
        int area = 0;
        int letters = 0;
        std::vector<KeyAction> specials;
        for (const KeyCap& key : layout.keys) {
            EXPECT_GE(key.rect.left, 0);
            EXPECT_GE(key.rect.top, 0);
            EXPECT_LE(key.rect.right, kInputPanelWidth);
            EXPECT_LE(key.rect.bottom, kInputPanelHeight);
            area += (key.rect.right - key.rect.left) * (key.rect.bottom - key.rect.top);
            // Each key is the one found at its own middle: no two overlap.
            const POINT middle{(key.rect.left + key.rect.right) / 2,
                               (key.rect.top + key.rect.bottom) / 2};
            EXPECT_EQ(KeyAt(layout, middle), &key);
            if (key.action == KeyAction::Character) {
                EXPECT_NE(VirtualKeyOf(key.character), 0) << static_cast<int>(key.character);
                EXPECT_EQ(VirtualKeyOf(CapitalOf(key.character)), VirtualKeyOf(key.character));
                letters += CapitalOf(key.character) != key.character ? 1 : 0;
            } else {
                specials.push_back(key.action);
            }
        }
        // Latin leaves a gap of half a key at each end of its middle row.
        const int gaps = id == KeyboardLayoutId::Latin ? 2 * 12 * 20 : 0;
        EXPECT_EQ(area + gaps, kInputPanelWidth * kInputPanelHeight);
        const int expectedLetters = id == KeyboardLayoutId::Russian ? 33
                                    : id == KeyboardLayoutId::Latin ? 26
                                                                    : 0;
        EXPECT_EQ(letters, expectedLetters);
        for (const KeyAction action : {KeyAction::Caps, KeyAction::Backspace, KeyAction::Return,
                                       KeyAction::Space, KeyAction::NextLayout}) {
            EXPECT_EQ(std::count(specials.begin(), specials.end(), action), 1);
        }
        EXPECT_EQ(std::count(specials.begin(), specials.end(), KeyAction::Shift),
                  id == KeyboardLayoutId::Symbols ? 0 : 1);
    }
    EXPECT_EQ(KeyAt(LayoutOf(KeyboardLayoutId::Latin), {5, 30}), nullptr);
    EXPECT_EQ(KeyAt(LayoutOf(KeyboardLayoutId::Russian), {kInputPanelWidth, 0}), nullptr);
    EXPECT_EQ(VirtualKeyOf(u'ё'), VK_OEM_3);
    EXPECT_EQ(VirtualKeyOf(u'Ж'), VK_OEM_1);
    EXPECT_EQ(VirtualKeyOf(u'\u20AC'), 0);
}

}  // namespace
}  // namespace qv
