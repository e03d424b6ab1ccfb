#include "dialogs/about_dialog.h"

#include "dialogs/heading_font.h"
#include "framework/modal_dialog.h"
#include "platform/pocket/full_screen.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_pages.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_styles.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

constexpr DWORD kShellSetUp = SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR;

}  // namespace

bool AboutDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                int mapId) {
    static constexpr MessageMapEntry<AboutDialog> kMap[] = {
        OnMessage(WM_INITDIALOG, &AboutDialog::OnInitDialog),
        OnMessage(WM_LBUTTONUP, &AboutDialog::OnPenUp),
        OnCommand(IDOK, &AboutDialog::OnClose),
        OnCommand(IDCANCEL, &AboutDialog::OnClose),
        OnMessage(WM_ACTIVATE, &AboutDialog::OnActivate),
    };
    return DispatchMessageMap<AboutDialog>(*this, kMap, {hwnd, message, wParam, lParam}, result,
                                           mapId);
}

LRESULT AboutDialog::OnInitDialog(const Message&, bool& handled) {
    SHINITDLGINFO setUp{SHIDIM_FLAGS, hwnd, kShellSetUp};
    SHInitDialog(&setUp);
    const HWND title = GetDlgItem(hwnd, IDC_ABOUT_PRODUCT);
    titleFont = MakeBoldFontOf(title);
    SetControlFont(title, titleFont.get());
    // Left unhandled so that the framework's own shell set-up is not applied on top.
    handled = false;
    return 0;
}

LRESULT AboutDialog::OnPenUp(const Message&, bool&) {
    EndDialog(hwnd, IDOK);
    return 0;
}

LRESULT AboutDialog::OnClose(const Message&, bool&) {
    EndDialog(hwnd, IDOK);
    return 0;
}

LRESULT AboutDialog::OnActivate(const Message& message, bool& handled) {
    if (LOWORD(message.wParam) != WA_INACTIVE) {
        SHFullScreen(hwnd, SHFS_HIDETASKBAR);
        SHFullScreen(hwnd, SHFS_HIDESIPBUTTON);
        // The strip the navigation bar leaves is the box's too, and taps there close it.
        ReleaseShellPage(hwnd);
        MoveWindow(hwnd, 0, 0, kScreenWidth, kScreenHeight, 1);
    }
    // The dialog manager's own activation work still has to run.
    handled = false;
    return 0;
}

void ShowAboutBox(HWND owner) {
    AboutDialog dialog;
    RunModalDialog(dialog, IDD_ABOUT, owner);
}

}  // namespace qv
