#include "controls_test.h"
#include "platform/controls/edit_buffer.h"
#include "platform/controls/edit_control.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using Edits = testing::ControlsTest;
using Command = testing::ControlsTest::Command;

constexpr RECT kEditRect{10, 10, 130, 30};
constexpr COLORREF kHighlight = RGB(0, 0, 128);

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 99, end = 99;
    const LRESULT packed =
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), PointerParam(&end));
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(packed)), start);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(packed)), end);
    return {start, end};
}

TEST_F(Edits, TypingMovesTheCaretAndNotifiesEachChange) {
    const HWND edit = Make(kEditClassName, u"", ES_AUTOHSCROLL | WS_TABSTOP, kEditRect, 20);
    SetFocus(edit);
    EXPECT_EQ(Commands(EN_SETFOCUS), (std::vector<Command>{{20, EN_SETFOCUS, edit}}));
    host.Type(u"Схема");
    SendMessageW(edit, WM_SYSCHAR, u'x', 0);  // Alt+X is no typing
    Pump();
    EXPECT_EQ(GetWindowText(edit), u"Схема");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{5, 5}));
    EXPECT_EQ(Commands(EN_CHANGE).size(), 5u);

    // WM_SETTEXT puts the caret at the start.
    SetWindowTextW(edit, u"2000");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 0}));
    SetFocus(page);
    EXPECT_EQ(Commands(EN_KILLFOCUS), (std::vector<Command>{{20, EN_KILLFOCUS, edit}}));
}

TEST_F(Edits, NumberEditsRefuseLettersAndTheLimitHoldsForTyping) {
    const HWND edit = Make(kEditClassName, u"", ES_NUMBER | ES_AUTOHSCROLL, kEditRect, 21);
    SendMessageW(edit, EM_LIMITTEXT, 4, 0);
    SetFocus(edit);
    host.Type(u"1a2Ж-3 45");
    Pump();
    EXPECT_EQ(GetWindowText(edit), u"1234");
    EXPECT_EQ(Commands(EN_CHANGE).size(), 4u);
    EXPECT_EQ(Commands(EN_MAXTEXT).size(), 1u);  // the 5; letters are refused silently

    // A selection makes room: typing over it replaces it within the limit.
    SendMessageW(edit, EM_SETSEL, 1, 3);
    host.Type(u"9");
    Pump();
    EXPECT_EQ(GetWindowText(edit), u"194");
    // WM_SETTEXT is not typing: neither the limit nor the digits rule applies.
    SetWindowTextW(edit, u"abc12345");
    EXPECT_EQ(GetWindowText(edit), u"abc12345");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    // No limit, or a larger one than there can be, is the largest.
    for (const WPARAM beyond : {WPARAM{0}, WPARAM{0xFFFFFFFF}, ~WPARAM{0}}) {
        SendMessageW(edit, EM_LIMITTEXT, beyond, 0);
        EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0),
                  static_cast<LRESULT>(EditBuffer::kLargestLimit));
    }
    host.Type(u"7");
    Pump();
    EXPECT_EQ(GetWindowText(edit), u"7");

    // Without horizontal scrolling, typing stops where the text would pass the right edge: an
    // edit two margins wider than four letters takes four, the fifth is refused as too many.
    LOGFONTW attributes{.lfHeight = -11};
    const UniqueFont font(CreateFontIndirectW(&attributes));
    const HDC dc = GetDC(page);
    RECT four{0, 0, 0, 0}, three{0, 0, 0, 0};
    {
        SelectionScope selected(dc, font.get());
        DrawTextW(dc, u"ШШШШ", &four, DT_SINGLELINE | DT_CALCRECT);
        DrawTextW(dc, u"ШШШ", &three, DT_SINGLELINE | DT_CALCRECT);
    }
    ReleaseDC(page, dc);
    const HWND narrow = Make(kEditClassName, u"", 0, {10, 40, 10 + 2 * 2 + four.right, 60}, 22);
    SendMessageW(narrow, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), 0);
    SetFocus(narrow);
    commands.clear();
    host.Type(u"ШШШШШ");
    Pump();
    EXPECT_EQ(GetWindowText(narrow), u"ШШШШ");
    EXPECT_EQ(Commands(EN_MAXTEXT), (std::vector<Command>{{22, EN_MAXTEXT, narrow}}));
    // The caret after the full text stays inside the text area's last pixel.
    EXPECT_EQ(ScreenPixel(10 + 2 + four.right - 1, 50), GetSysColor(COLOR_WINDOWTEXT));
    // Scrolled, the caret just past the edge moves the text a pixel: a tap there lands after it.
    SetWindowLongW(narrow, GWL_STYLE, GetWindowLongW(narrow, GWL_STYLE) | ES_AUTOHSCROLL);
    SendMessageW(narrow, EM_SETSEL, 4, 4);
    host.Tap(10 + 2 + (three.right + four.right + 1) / 2 - 1, 50);
    Pump();
    EXPECT_EQ(Selection(narrow).first, 4u);
    DestroyWindow(narrow);  // before its font goes

    // A text as long as typing allows scrolls to its end, and a tap there finds the end; this
    // once measured every position of the text over again at each step.
    const std::u16string longText(EditBuffer::kDefaultLimit, u'ш');
    SetWindowTextW(edit, longText);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, longText.size(), longText.size());
    Pump();
    host.Tap(kEditRect.right - 3, (kEditRect.top + kEditRect.bottom) / 2);
    Pump();
    EXPECT_EQ(Selection(edit).first, longText.size());
}

TEST_F(Edits, ThePenSelectsAndTheSelectionHidesWithoutTheKeyboard) {
    const HWND edit = Make(kEditClassName, u"станция", ES_AUTOHSCROLL, kEditRect, 23);
    SetFocus(edit);
    // From where it went down to where it is; without the keyboard hidden but kept.
    host.PenDown(12, 20);
    host.PenMove(200, 20);
    host.PenUp(200, 20);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    SetFocus(page);
    Pump();
    EXPECT_EQ(CountPixels(kEditRect, kHighlight), 0);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 7}));
    host.Tap(kEditRect.right - 3, 20);
    Pump();
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{7, 7})) << "a tap only places the caret";
}

TEST_F(Edits, KeysMoveTheCaretOrSelectionAndTypingOrDeletingReplacesIt) {
    const HWND edit = Make(kEditClassName, u"", ES_AUTOHSCROLL, kEditRect, 20);
    SetFocus(edit);
    struct Case {
        int anchor, caret;  // EM_SETSEL's ends
        int key;            // negative: with Shift
        std::u16string typed;
        std::u16string text;
        int start, end;       // the selection after
        std::size_t changes;  // EN_CHANGE told
    };
    const Case cases[] = {
        // Back and Delete take one character, nothing at the ends, where nothing changes.
        {3, 3, VK_BACK, u"", u"abdef", 2, 2, 1},
        {3, 3, VK_DELETE, u"", u"abcef", 3, 3, 1},
        {0, 0, VK_BACK, u"", u"abcdef", 0, 0, 0},
        {6, 6, VK_DELETE, u"", u"abcdef", 6, 6, 0},
        // Without Shift an arrow collapses the selection to its side; a selection is replaced.
        {1, 4, VK_RIGHT, u"", u"abcdef", 4, 4, 0},
        {4, 1, VK_RIGHT, u"", u"abcdef", 4, 4, 0},
        {1, 4, VK_LEFT, u"", u"abcdef", 1, 1, 0},
        {1, 4, VK_BACK, u"", u"aef", 1, 1, 1},
        {4, 1, VK_DELETE, u"", u"aef", 1, 1, 1},
        {4, 1, 0, u"xy", u"axyef", 3, 3, 2},
        // With Shift the caret moves and the anchor stays.
        {6, 6, -VK_LEFT, u"", u"abcdef", 5, 6, 0},
        {6, 5, -VK_HOME, u"", u"abcdef", 0, 6, 0},
        {6, 0, -VK_RIGHT, u"", u"abcdef", 1, 6, 0},
        {1, 1, -VK_END, u"", u"abcdef", 1, 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.anchor << "-" << c.caret << " key " << c.key);
        SetWindowTextW(edit, u"abcdef");
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.anchor), c.caret);
        commands.clear();
        if (c.key != 0) {
            host.Key(std::abs(c.key), {.shift = c.key < 0});
        }
        host.Type(c.typed);
        Pump();
        EXPECT_EQ(GetWindowText(edit), c.text);
        EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>(c.start, c.end)));
        EXPECT_EQ(Commands(EN_CHANGE).size(), c.changes);
    }
    SendMessageW(edit, EM_SETSEL, 1, 4);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{4, 4})) << "deselected, the caret kept";
    SetWindowLongW(edit, GWL_STYLE, GetWindowLongW(edit, GWL_STYLE) | ES_READONLY);
    host.Key(VK_DELETE);
    host.Type(u"\bx");
    InvalidateRect(edit, nullptr, 1);
    Pump();
    EXPECT_EQ(GetWindowText(edit), u"abcdef");
    EXPECT_EQ(ScreenPixel(kEditRect.right - 4, kEditRect.top + 4), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Edits, ReplacingTheSelectionTakesWhatTheLimitLeavesRoomFor) {
    const HWND edit = Make(kEditClassName, u"", ES_AUTOHSCROLL, kEditRect, 24);
    struct Case {
        int from, to;  // EM_SETSEL's ends, either way round
        std::u16string_view with;
        WPARAM limit;
        std::u16string_view text;
        DWORD caret;
        std::size_t changes, full;
    };
    const Case cases[] = {
        {0, 0, u"xyz", 8, u"xyabcdef", 2, 1, 1}, {6, 6, u"q", 6, u"abcdef", 6, 0, 1},
        {1, 3, u"XYZ", 7, u"aXYZdef", 4, 1, 0},  {3, 1, u"XYZW", 7, u"aXYZdef", 4, 1, 1},
        {4, 2, u"", 4, u"abef", 2, 1, 0},        {3, -1, u"!", 8, u"abc!", 4, 1, 0},
        {50, 60, u"!", 8, u"abcdef!", 7, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from << ".." << c.to << " limit " << c.limit);
        SetWindowTextW(edit, u"abcdef");
        SendMessageW(edit, EM_LIMITTEXT, c.limit, 0);
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.from), c.to);
        commands.clear();
        const std::u16string with(c.with);
        SendMessageW(edit, EM_REPLACESEL, 0, PointerParam(with.c_str()));
        EXPECT_EQ(GetWindowText(edit), c.text);
        EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{c.caret, c.caret}));
        EXPECT_EQ(Commands(EN_CHANGE).size(), c.changes);
        EXPECT_EQ(Commands(EN_MAXTEXT).size(), c.full);
    }
}

}  // namespace
}  // namespace qv
