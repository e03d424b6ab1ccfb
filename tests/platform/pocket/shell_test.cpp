#include "shell_test.h"

#include <array>
#include <string>

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

namespace {

constexpr std::string_view kStripKeys = "rgbyBmCRG";
constexpr int kImages = 9;

}  // namespace

ShellTest* ShellTest::current_ = nullptr;

HINSTANCE StandInModule() {
    static const std::array<std::string, 16> rows = [] {
        std::array<std::string, 16> made;
        for (std::string& row : made) {
            for (const char key : kStripKeys) {
                row.append(16, key);
            }
        }
        return made;
    }();
    static const std::array<std::string_view, 16> views = [] {
        std::array<std::string_view, 16> made;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            made[i] = rows[i];
        }
        return made;
    }();
    static const ResourceModule module = [] {
        ResourceModule made;
        made.AddBitmap(kStandInStrip, {16 * kImages, 16, views});
        return made;
    }();
    return &module;
}

COLORREF StripColour(int image) {
    return *PaletteColour(kStripKeys[static_cast<std::size_t>(image)]);
}

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
    CommandBar_AddBitmap(bar, StandInModule(), kStandInStrip, kMainToolbarImageCount, 16, 16);
    SendMessageW(bar, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                 PointerParam(kMainToolbarButtons.data()));
    return bar;
}

HWND ShellTest::FindTopLevel(std::u16string_view className) {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        char16_t name[64] = {};
        const int length = GetClassNameW(window, name, 64);
        if (std::u16string_view(name, static_cast<std::size_t>(length)) == className) {
            return window;
        }
    }
    return nullptr;
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
