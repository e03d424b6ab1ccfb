#include "platform/pocket/navigation_bar.h"

#include <functional>
#include <tuple>

#include "platform/host/virtual_keys.h"
#include "platform/pocket/full_screen.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "shell_test.h"

namespace qv {
namespace {

constexpr DialogTemplate kPage{WS_POPUP, 0, 0, 0, 160, 182, u"Настройки", u"", 0, {}};

// The running page's set-up flags and what it does with a command before it ends with it.
DWORD g_flags = 0;
std::function<void(WORD)> g_command;

INT_PTR PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SHINITDLGINFO info{SHIDIM_FLAGS, page, g_flags};
        SHInitDialog(&info);
    } else if (message == WM_COMMAND) {
        g_command(LOWORD(wParam));
        EndDialog(page, LOWORD(wParam));
    }
    return message == WM_INITDIALOG || message == WM_COMMAND;
}

class NavigationBars : public testing::ShellTest {
  protected:
    NavigationBars() : bar(ShellNavigationBar()) { Pump(); }
    ~NavigationBars() override { g_command = nullptr; }

    INT_PTR RunPage(DWORD flags, std::function<void(WORD)> command) {
        g_flags = flags;
        g_command = std::move(command);
        return DialogBoxIndirectParamW(nullptr, &kPage, main, PageProcedure, 0);
    }
    static bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

    HWND bar;
};

TEST_F(NavigationBars, ShowTheActiveWindowsTitleAsItChanges) {
    DestroyWindow(bar);
    InstallPocketShell();  // makes again a bar someone destroyed
    bar = ShellNavigationBar();
    EXPECT_EQ(GetWindowText(bar), u"Схема метро");
    // The work area lies between the shell's bars.
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, 26, kScreenWidth, kScreenHeight - 26}));
    const auto titleInk = [&] {
        Pump();
        int ink = 0;
        for (int x = 0; x < kScreenWidth * 24; ++x) {
            ink += ScreenPixel(x % kScreenWidth, x / kScreenWidth) != RGB(192, 192, 192);
        }
        return ink;
    };
    const HWND other = MakeWindow(u"Маршрут", {0, 26, 240, 320});
    EXPECT_EQ(GetWindowText(bar), u"Маршрут");
    const int shortTitle = titleInk();
    // Only the active window's title counts.
    SetWindowTextW(main, u"Санкт-Петербург");
    EXPECT_EQ(GetWindowText(bar), u"Маршрут");
    DestroyWindow(other);
    EXPECT_EQ(GetWindowText(bar), u"Санкт-Петербург");
    EXPECT_GT(titleInk(), shortTitle * 3 / 2) << "the new title is drawn";
    // The bar never takes the activation, not even from a tap.
    host.Tap(60, 12);
    Pump();
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(NavigationBars, OkClosesThePageThatAskedForItWhileItsModalLoopRuns) {
    std::vector<WORD> pageCommands;
    std::u16string titleAtOk;
    InputPanelState panel = InputPanelState::Down;
    const auto seen = [&](WORD command) {
        pageCommands.push_back(command);
        titleAtOk = GetWindowText(bar);
        panel = CurrentInputPanel();
    };
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));
    // The "ok" button sits at the right of the bar while the page runs.
    host.Tap(kScreenWidth - 16, 12);
    EXPECT_EQ(RunPage(SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR, seen), IDOK);
    EXPECT_EQ(pageCommands, std::vector<WORD>{IDOK});
    EXPECT_EQ(titleAtOk, u"Настройки");
    EXPECT_EQ(GetWindowText(bar), u"Схема метро");
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));
    // A press that starts on the title is no "ok", even when let go on the button.
    host.PenDown(60, 12);
    host.PenMove(kScreenWidth - 16, 12);
    host.PenUp(kScreenWidth - 16, 12);
    host.Key(VK_ESCAPE);
    EXPECT_EQ(RunPage(SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN, seen), IDCANCEL);

    // Without the Done button no "ok": Escape ends the page; the keyboard button works there.
    const POINT centre{kScreenWidth - 14, kScreenHeight - 13};
    pageCommands.clear();
    host.Tap(kScreenWidth - 16, 12);
    host.Tap(centre.x, centre.y);
    host.Key(VK_ESCAPE);
    EXPECT_EQ(RunPage(SHIDIF_SIPDOWN | SHIDIF_SIZEDLGFULLSCREEN, seen), IDCANCEL);
    EXPECT_EQ(pageCommands, std::vector<WORD>{IDCANCEL});
    EXPECT_EQ(panel, InputPanelState::Up);
    // The button acts on release inside only: lifted away from it, nothing.
    host.PenDown(centre.x, centre.y);
    host.PenMove(100, 200);
    host.PenUp(100, 200);
    Pump();
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
    host.Tap(centre.x, centre.y);
    Pump();
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
    DestroyInputPanel();
}

TEST_F(NavigationBars, AreHiddenForThePageThatAsksEachByItsOwnFlags) {
    const HWND page = MakeWindow(u"ШШШШШШШШШШШШШШШШШШШШШШШШШШШШШШ", {0, 0, 240, 320});
    SHINITDLGINFO info{SHIDIM_FLAGS, page, SHIDIF_DONEBUTTON};
    SHInitDialog(&info);
    Pump();
    // A long title is cut short of the "ok" button, leaving a gap before it.
    const RECT done = DoneButtonRect(bar);
    for (int y = 0; y < 24; ++y) {
        EXPECT_EQ(ScreenPixel(done.left - 1, y), RGB(192, 192, 192)) << y;
    }
    // Held down, the "ok" sinks a pixel right and down with its button (28 wide, 2-pixel edges).
    const auto firstInk = [&](int at = 0) {
        Pump();
        while (ScreenPixel(done.left + 2 + at % 24, done.top + 2 + at / 24) == RGB(192, 192, 192)) {
            ++at;
        }
        return at;
    };
    const int raised = firstInk();
    host.PenDown(done.left + 4, done.top + 4);
    EXPECT_EQ(firstInk(), raised + 24 + 1);
    host.PenUp(0, 100);
    // A page that gives up the "ok" button it asked for has none.
    info.dwFlags = 0;
    SHInitDialog(&info);
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));
    // Each request changes only the bars it names; showing and hiding the same one is refused.
    const std::tuple<DWORD, bool, bool, bool> steps[] = {
        {SHFS_HIDETASKBAR, true, false, true},
        {SHFS_HIDESIPBUTTON, true, false, false},
        {SHFS_SHOWTASKBAR | SHFS_HIDESTARTICON, true, true, false},
        {SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON | SHFS_HIDETASKBAR, false, true, false},
        {SHFS_SHOWSIPBUTTON, true, true, true},
        {SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON, false, true, true},
        {SHFS_SHOWSTARTICON | SHFS_HIDESTARTICON | SHFS_HIDETASKBAR, false, true, true},
        {SHFS_HIDESIPBUTTON | SHFS_HIDETASKBAR, true, false, false}};
    for (const auto& [flags, accepted, barShown, buttonShown] : steps) {
        EXPECT_EQ(SHFullScreen(page, flags) != 0, accepted) << flags;
        EXPECT_EQ(IsWindowVisible(bar) != 0, barShown) << flags;
        EXPECT_EQ(IsWindowVisible(ShellKeyboardButton()) != 0, buttonShown) << flags;
    }
    DestroyWindow(page);  // its flags go with it; a request for it now fails
    EXPECT_FALSE(SHFullScreen(page, SHFS_HIDETASKBAR));
    EXPECT_TRUE(IsWindowVisible(bar) && IsWindowVisible(ShellKeyboardButton()));

    // A page sized by the shell, made where it goes, loses its caption bar to the navigation bar.
    const std::pair<DWORD, bool> captions[] = {{SHIDIF_SIZEDLG, false},
                                               {SHIDIF_SIZEDLGFULLSCREEN, false},
                                               {SHIDIF_FULLSCREENNOMENUBAR, false},
                                               {SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN, true}};
    for (const auto& [flags, captioned] : captions) {
        const HWND shown = MakeWindow(u"Маршрут", {0, 26, 240, 200}, WS_POPUP | WS_CAPTION);
        info = {SHIDIM_FLAGS, shown, flags};
        SHInitDialog(&info);
        Pump();
        EXPECT_EQ(ScreenPixel(150, 26 + 4) != RGB(255, 255, 255), captioned) << flags;
    }
}

}  // namespace
}  // namespace qv
