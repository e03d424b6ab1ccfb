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
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(system.RanOutOfInput());

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

    // The character is the very next message, before one posted earlier that a filter held back;
    // a peek that does not remove leaves it.
    const HWND other = Make("other", 0, kScreen);
    PostMessageW(other, WM_USER, 0, 0);
    host.Key(VK_ESCAPE);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.hwnd, other);
    ASSERT_TRUE(PeekMessageW(&message, main, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_KEYDOWN);
    TranslateMessage(&message);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_CHAR);
    EXPECT_EQ(message.wParam, 0x1Bu);
}

}  // namespace
}  // namespace qv
