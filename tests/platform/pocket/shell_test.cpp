#include "shell_test.h"

#include "platform/gdi/system_metrics.h"
#include "platform/pocket/menu_bar.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"
#include "resources/main_toolbar.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv::testing {

ShellTest* ShellTest::current_ = nullptr;

ShellTest::ShellTest() {
    current_ = this;
    WNDCLASSW attributes;
    attributes.lpfnWndProc = Procedure;
    attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    attributes.lpszClassName = u"ShellTestWindow";
    RegisterClassW(&attributes);
    main = MakeWindow(u"Схема метро", {0, 0, kScreenWidth, kScreenHeight});
    InstallPocketShell();
}

ShellTest::~ShellTest() {
    current_ = nullptr;
}

HWND ShellTest::MakeWindow(std::u16string_view title, RECT rect) {
    return CreateWindowExW(0, u"ShellTestWindow", title, WS_VISIBLE | WS_POPUP, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, 0, nullptr,
                           nullptr);
}

HWND ShellTest::MakeMainMenuBar() {
    SHMENUBARINFO info;
    info.hwndParent = main;
    info.nToolBarId = IDR_MENUBAR;
    info.hInstRes = ProgramModule();
    if (!SHCreateMenuBar(&info)) {
        return nullptr;
    }
    const HWND bar = info.hwndMB;
    SendMessageW(bar, TB_SETTOOLTIPS, std::size(kMainToolbarTooltips),
                 PointerParam(kMainToolbarTooltips));
    CommandBar_AddBitmap(bar, ProgramModule(), IDB_TOOLBAR, kMainToolbarImageCount, 16, 16);
    SendMessageW(bar, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                 PointerParam(kMainToolbarButtons.data()));
    return bar;
}

LRESULT ShellTest::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && current_) {
        current_->commands.push_back({LOWORD(wParam), lParam});
        return 0;
    }
    if (message == WM_TIMER && current_ && current_->timerSeen) {
        current_->timerSeen();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qv::testing
