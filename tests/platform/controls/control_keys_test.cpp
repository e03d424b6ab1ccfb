#include "controls_test.h"
#include "platform/controls/edit_control.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"

namespace qv {
namespace {

using ControlKeys = testing::ControlsTest;

TEST_F(ControlKeys, AnEditsArrowsCollapseItsSelectionAndTypingOrDeletingReplacesIt) {
    const HWND edit = Make(kEditClassName, u"", ES_AUTOHSCROLL, {10, 10, 130, 30}, 20);
    SetFocus(edit);
    struct Case {
        int anchor, caret;  // EM_SETSEL's ends
        int key;
        std::u16string typed;
        std::u16string text;
        int after;  // where the caret is, nothing selected
    };
    const Case cases[] = {
        {1, 4, VK_RIGHT, u"", u"abcdef", 4}, {4, 1, VK_RIGHT, u"", u"abcdef", 4},
        {1, 4, VK_BACK, u"", u"aef", 1},     {4, 1, VK_DELETE, u"", u"aef", 1},
        {4, 1, 0, u"xy", u"axyef", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.anchor << "-" << c.caret << " key " << c.key);
        SetWindowTextW(edit, u"abcdef");
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.anchor), c.caret);
        if (c.key != 0) {
            host.Key(c.key);
        }
        host.Type(c.typed);
        Pump();
        EXPECT_EQ(GetWindowText(edit), c.text);
        EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELPARAM(c.after, c.after));
    }
}

}  // namespace
}  // namespace qv
