#include "platform/pocket/shell_dialog.h"

#include "platform/pocket/input_panel.h"
#include "platform/pocket/shell_pages.h"
#include "platform/user/shell_observer.h"
#include "platform/user/window_functions.h"

namespace qv {

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info || (info->dwMask & SHIDIM_FLAGS) == 0 || !IsWindow(info->hDlg)) {
        return 0;
    }
    const DWORD flags = info->dwFlags;
    if ((flags & SHIDIF_SIPDOWN) != 0) {
        SetInputPanel(InputPanelState::Down);
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
