#include "shell_screens.h"

#include "gallery_texts.h"
#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/popup_menu.h"
#include "platform/controls/static_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/menu_bar.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/tooltip_window.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/menu.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "resources/main_toolbar.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"

namespace qv::gallery {

namespace {

// The main window's bars, as its creation makes them.
HWND MakeMainBars(HWND window) {
    SetWindowTextW(window, Text(TextId::Title));
    InstallPocketShell();
    // The navigation bar goes with the page, so that the other screens in a real window have none.
    SetWindowLongW(ShellNavigationBar(), GWL_HWNDPARENT, PointerParam(window));
    SHMENUBARINFO info;
    info.hwndParent = window;
    info.nToolBarId = IDR_MENUBAR;
    info.hInstRes = ProgramModule();
    if (!SHCreateMenuBar(&info)) {
        return nullptr;
    }
    SendMessageW(info.hwndMB, TB_SETTOOLTIPS, std::size(kMainToolbarTooltips),
                 PointerParam(kMainToolbarTooltips));
    CommandBar_AddBitmap(info.hwndMB, ProgramModule(), IDB_TOOLBAR, kMainToolbarImageCount, 16, 16);
    SendMessageW(info.hwndMB, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                 PointerParam(kMainToolbarButtons.data()));
    // In a real window the turning buttons would lie under the menu bar.
    for (const int id : {kPreviousScreen, kNextScreen}) {
        if (const HWND turn = GetDlgItem(window, id)) {
            RECT rect;
            GetWindowRect(turn, &rect);
            MoveWindow(turn, rect.left, 240, rect.right - rect.left, rect.bottom - rect.top, 1);
        }
    }
    return info.hwndMB;
}

// The top of the settings page, in the program's language.
const DialogTemplate& SettingsPageTop() {
    static const DialogItemTemplate items[] = {
        {kStaticClassName, Text(TextId::SettingsAlgorithm), 1055, WS_VISIBLE | SS_LEFT, 0, 0, 1,
         119, 9},
        {kButtonClassName, Text(TextId::SettingsByTransfers), 1050,
         WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 2, 10, 102, 10},
        {kButtonClassName, Text(TextId::SettingsByTime), 1051, WS_VISIBLE | BS_AUTORADIOBUTTON, 0,
         2, 20, 78, 10},
        {kButtonClassName, Text(TextId::SettingsCountWait), 1056,
         WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 2, 30, 109, 10},
    };
    static const DialogTemplate page{WS_POPUP | WS_BORDER | WS_VISIBLE,
                                     0,
                                     0,
                                     0,
                                     160,
                                     182,
                                     Text(TextId::MenuSettings),
                                     u"MS Sans Serif",
                                     8,
                                     items};
    return page;
}

INT_PTR PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SHINITDLGINFO info{SHIDIM_FLAGS, page,
                           SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR};
        SHInitDialog(&info);
        CheckRadioButton(page, 1050, 1051, 1050);
        CheckDlgButton(page, 1056, BST_CHECKED);
        return 1;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        DestroyWindow(page);
        return 1;
    }
    return 0;
}

}  // namespace

void BuildShellBarsScreen(const Page& page) {
    const HWND bar = MakeMainBars(page.window);
    if (!bar) {
        return;
    }
    AddControl(page, kStaticClassName, GalleryText(GalleryTextId::ShellBarsNote), SS_LEFT,
               {8, 40, 232, 100});
    RECT button{};
    SendMessageW(bar, TB_GETITEMRECT, 1, PointerParam(&button));
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    TooltipWindow tip(bar);
    tip.Show(kMainToolbarTooltips[1], {button.left, barRect.top, button.right, barRect.bottom});
}

void BuildShellMenuScreen(const Page& page) {
    const HWND bar = MakeMainBars(page.window);
    if (!bar) {
        return;
    }
    // Where the "Cхема" button opens its menu, as it does when tapped.
    RECT barRect{};
    GetWindowRect(bar, &barRect);
    const UniqueMenu menu(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    TPMPARAMS params;
    params.rcExclude = barRect;
    CreatePopupMenuWindow(GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL,
                          1, barRect.top, page.window, &params);
}

void BuildShellPageScreen(const Page& page) {
    if (!MakeMainBars(page.window)) {
        return;
    }
    CreateDialogIndirectParamW(nullptr, &SettingsPageTop(), page.window, PageProcedure, 0);
}

}  // namespace qv::gallery
