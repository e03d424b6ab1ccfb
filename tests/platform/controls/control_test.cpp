#include "control_test.h"

#include "platform/controls/list_view_messages.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::testing {

ControlTest* ControlTest::current_ = nullptr;

ControlTest::ControlTest(int scale) : host(scale) {
    current_ = this;
    WNDCLASSW attributes;
    attributes.lpfnWndProc = Procedure;
    attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    attributes.lpszClassName = u"ControlTestParent";
    RegisterClassW(&attributes);
    parent = CreateWindowExW(0, u"ControlTestParent", u"", WS_POPUP | WS_VISIBLE, 0, 0,
                             kScreenWidth, kScreenHeight, nullptr, 0, nullptr, nullptr);
}

ControlTest::~ControlTest() {
    DestroyWindow(parent);
    current_ = nullptr;
}

std::vector<ControlTest::Notice> ControlTest::Notices(UINT code) const {
    std::vector<Notice> found;
    for (const Notice& notice : notices_) {
        if (notice.code == code) {
            found.push_back(notice);
        }
    }
    return found;
}

LRESULT ControlTest::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlTest* test = current_;
    if (message != WM_NOTIFY || !test) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* header = PointerFromParam<NMHDR>(lParam);
    Notice notice{header->code, -1, 0, 0};
    if (header->code == LVN_ITEMCHANGED) {
        const auto* change = PointerFromParam<NMLISTVIEW>(lParam);
        notice = {header->code, change->iItem, change->uNewState, change->uOldState};
    } else if (header->code == NM_CLICK) {
        notice.item = PointerFromParam<NMITEMACTIVATE>(lParam)->iItem;
    } else if (header->code == LVN_GETDISPINFOW) {
        notice.item = PointerFromParam<NMLVDISPINFOW>(lParam)->item.iItem;
    }
    test->notices_.push_back(notice);
    return test->answer ? test->answer(header) : 0;
}

}  // namespace qv::testing
