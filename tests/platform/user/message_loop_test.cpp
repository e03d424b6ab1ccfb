#include <gtest/gtest.h>

#include "platform/host/virtual_keys.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using testing::Answer;
using testing::WindowTest;
using Lines = std::vector<std::string>;
using std::chrono::milliseconds;

constexpr RECT kScreen{0, 0, 240, 320};

class MessageLoop : public WindowTest {};

TEST_F(MessageLoop, SentMessagesNestAndReturnTheirResults) {
    const HWND a = Make("a", 0, kScreen);
    const HWND b = Make("b", 0, kScreen);
    // a asks b, which asks a again while a's first message is still being handled.
    On(a, [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            return 1000 + SendMessageW(b, WM_USER + 1, w + 1, 0);
        }
        if (m == WM_USER + 2) {
            return static_cast<LRESULT>(w) * 10;
        }
        return std::nullopt;
    });
    On(b, [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER + 1) {
            return SendMessageW(a, WM_USER + 2, w + 1, 0);
        }
        return std::nullopt;
    });
    ClearLog();
    EXPECT_EQ(SendMessageW(a, WM_USER, 1, 0), 1030);
    EXPECT_EQ(Log(), (Lines{"a:WM_USER", "b:WM_USER+1", "a:WM_USER+2"}));
}

TEST_F(MessageLoop, PostedComeBeforeInputThenQuitThenPaintThenTimers) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    SetTimer(main, 1, 10, nullptr);
    host.AllowTime(milliseconds(10));
    host.Wait(milliseconds(10));  // the timer is due now
    InvalidateRect(main, nullptr, 0);
    host.Tap(5, 5);
    PostMessageW(main, WM_USER, 1, 0);
    PostMessageW(main, WM_USER, 2, 0);
    PostQuitMessage(7);
    ClearLog();
    MSG message;
    std::vector<std::string> order;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(testing::MessageName(message.message));
        if (message.message == WM_QUIT) {
            EXPECT_EQ(message.wParam, 7u);
            continue;
        }
        DispatchMessageW(&message);
    }
    EXPECT_EQ(order, (Lines{"WM_USER", "WM_USER", "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_QUIT",
                            "WM_PAINT", "WM_TIMER"}));
    EXPECT_EQ(Entries()[0].wParam, 1u);
    EXPECT_EQ(Entries()[1].wParam, 2u);
}

TEST_F(MessageLoop, PeekWithoutRemovingLeavesTheMessageAndFiltersTakeOnlyTheirWindowOrRange) {
    const HWND a = Make("a", 0, kScreen);
    const HWND b = Make("b", 0, kScreen);
    PostMessageW(a, WM_USER, 0, 0);
    PostMessageW(b, WM_USER + 1, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.hwnd, a);
    ASSERT_TRUE(PeekMessageW(&message, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, b);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(message.hwnd, a);
    EXPECT_EQ(message.message, WM_USER);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoop, GetMessageEndsWithTheQuitCodeOrWhenTheHostHasNothingMoreToGive) {
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr,
                           [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (m == WM_DESTROY) {
                                   PostQuitMessage(3);
                               }
                               return std::nullopt;
                           });
    PostMessageW(main, WM_CLOSE, 0, 0);
    MSG message;
    int loops = 0;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
        ++loops;
    }
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(system.RanOutOfInput());
    EXPECT_GT(loops, 0);

    Make("other", WS_VISIBLE, kScreen);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    EXPECT_TRUE(system.RanOutOfInput());
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(MessageLoop, KeysMakeCharactersOnlyWhereTheHostSendsNoText) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    host.Key(VK_RETURN);
    host.Key('A');                     // its letter comes as text
    host.Key('H', {.control = true});  // Ctrl+H is a control character
    host.Type(u"ж");
    ClearLog();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    std::vector<WPARAM> characters;
    for (const auto& entry : Entries()) {
        if (entry.message == WM_CHAR) {
            characters.push_back(entry.wParam);
        }
    }
    EXPECT_EQ(characters, (std::vector<WPARAM>{u'\r', 8, u'ж'}));
    EXPECT_EQ(main, Entries()[0].window);

    // The character is the very next message, before one posted earlier that a filter held back.
    const HWND other = Make("other", 0, kScreen);
    PostMessageW(other, WM_USER, 0, 0);
    host.Key(VK_ESCAPE);
    ASSERT_TRUE(PeekMessageW(&message, main, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_KEYDOWN);
    TranslateMessage(&message);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_CHAR);
    EXPECT_EQ(message.wParam, 0x1Bu);
}

TEST_F(MessageLoop, HostCloseAsksTheActiveWindowToClose) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    host.Close();
    Pump();
    EXPECT_EQ(Log({WM_CLOSE}), (Lines{"main:WM_CLOSE"}));
    EXPECT_FALSE(IsWindow(main));  // the default closing destroys it
    host.Close();
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Quit);  // no window left: the program ends
}

}  // namespace
}  // namespace qv
