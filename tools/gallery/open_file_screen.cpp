#include "open_file_screen.h"

#include "platform/controls/list_view_messages.h"
#include "platform/pocket/open_file_page.h"
#include "platform/pocket/shell_folders.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"

namespace qv::gallery {

void BuildOpenFileScreen(const Page& page) {
    const ShellFolders& folders = CurrentShellFolders();
    if (!folders.shippedMaps) {
        return;
    }
    OpenFilePageSetup setup;
    setup.startFolder = *folders.shippedMaps;
    setup.patterns = FilePatterns({u"*.qvn"}, u"Quorvane (*.qvn)");
    const HWND shown = CreateOpenFilePage(page.window, setup);
    // One row selected, as after a first tap.
    if (const HWND list = GetDlgItem(shown, kOpenFileList)) {
        LVITEMW selected;
        selected.state = LVIS_SELECTED | LVIS_FOCUSED;
        selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 2, PointerParam(&selected));
        SetFocus(list);
    }
}

}  // namespace qv::gallery
