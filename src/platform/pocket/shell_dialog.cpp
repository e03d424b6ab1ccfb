#include "platform/pocket/shell_dialog.h"

#include "platform/pocket/input_panel.h"
#include "platform/pocket/shell_pages.h"
#include "platform/user/api/shell_observer.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// A page's title is shown by the navigation bar; its own caption bar would say it twice.
void DropCaptionBar(HWND page) {
    const auto style = static_cast<DWORD>(GetWindowLongW(page, GWL_STYLE));
    if ((style & WS_CAPTION) != WS_CAPTION) {
        return;
    }
    SetWindowLongW(page, GWL_STYLE, style & ~WS_DLGFRAME);
    SetWindowPos(page, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info || (info->dwMask & SHIDIM_FLAGS) == 0 || !IsWindow(info->hDlg)) {
        return 0;
    }
    const DWORD flags = info->dwFlags;
    if ((flags & SHIDIF_SIPDOWN) != 0) {
        SetInputPanel(InputPanelState::Down);
    }
    if ((flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0) {
        DropCaptionBar(info->hDlg);
    }
    if ((flags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0) {
        PlaceShellPage(info->hDlg, PageSizing::FullScreen, CurrentInputPanel());
    } else if ((flags & SHIDIF_SIZEDLG) != 0) {
        PlaceShellPage(info->hDlg, PageSizing::WorkArea, CurrentInputPanel());
    } else {
        ReleaseShellPage(info->hDlg);
    }
    if ((flags & SHIDIF_DONEBUTTON) != 0) {
        SetPropW(info->hDlg, kDoneButtonProperty, 1);
    } else {
        RemovePropW(info->hDlg, kDoneButtonProperty);
    }
    NotifyShell(info->hDlg, ShellChange::DoneButton);
    return 1;
}

}  // namespace qv
