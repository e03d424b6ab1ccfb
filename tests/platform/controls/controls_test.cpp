#include "controls_test.h"

#include "platform/controls/list_view_messages.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {

ControlsTest* ControlsTest::current_ = nullptr;

ControlsTest::ControlsTest() {
    current_ = this;
    EXPECT_TRUE(RegisterStandardControls());
    const WNDCLASSW attributes{.lpfnWndProc = PageProcedure,
                               .hbrBackground = GetSysColorBrush(COLOR_WINDOW),
                               .lpszClassName = u"ControlsTestPage"};
    RegisterClassW(&attributes);
    page = CreateWindowExW(0, u"ControlsTestPage", u"page", WS_POPUP | WS_VISIBLE, 0, 0,
                           kScreenWidth, kScreenHeight, nullptr, 0, nullptr, nullptr);
}

ControlsTest::~ControlsTest() {
    // Left to the end of the system, the controls' state would never be freed.
    DestroyWindow(page);
    current_ = nullptr;
}

HWND ControlsTest::Make(std::u16string_view className, std::u16string_view text, DWORD style,
                        RECT rect, int id) {
    return CreateWindowExW(0, className, text, style | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, page,
                           static_cast<UINT_PTR>(id), nullptr, nullptr);
}

int ControlsTest::CountPixels(const RECT& rect, COLORREF colour) const {
    int count = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            count += ScreenPixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

LRESULT ControlsTest::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (current_ && message == WM_COMMAND) {
        const Command command{LOWORD(wParam), HIWORD(wParam), HandleFromParam(lParam)};
        current_->commands.push_back(command);
        if (current_->onCommand) {
            current_->onCommand(command);
        }
        return 0;
    }
    if (current_ && message == WM_DRAWITEM) {
        current_->drawn.push_back(*PointerFromParam<const DRAWITEMSTRUCT>(lParam));
        return 1;
    }
    if (current_ && message == WM_CTLCOLORSTATIC && current_->staticBackground) {
        return reinterpret_cast<LRESULT>(current_->staticBackground);
    }
    if (current_ && message == WM_NOTIFY) {
        const auto* header = PointerFromParam<NMHDR>(lParam);
        EXPECT_EQ(wParam, static_cast<WPARAM>(GetDlgCtrlID(header->hwndFrom)));
        Notice notice{header->code, -1, 0, 0};
        if (header->code == LVN_ITEMCHANGED) {
            const auto* change = PointerFromParam<NMLISTVIEW>(lParam);
            notice = {header->code, change->iItem, change->uNewState, change->uOldState};
        } else if (header->code == NM_CLICK) {
            notice.item = PointerFromParam<NMITEMACTIVATE>(lParam)->iItem;
        } else if (header->code == LVN_GETDISPINFOW) {
            notice.item = PointerFromParam<NMLVDISPINFOW>(lParam)->item.iItem;
        }
        current_->notices_.push_back(notice);
        return current_->answer ? current_->answer(PointerFromParam<NMHDR>(lParam)) : 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qv::testing
