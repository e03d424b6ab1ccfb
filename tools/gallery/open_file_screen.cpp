#include "open_file_screen.h"

#include "model/map_title.h"
#include "platform/controls/list_view_messages.h"
#include "platform/pocket/open_file_page.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "shell/program_maps.h"

namespace qv::gallery {

void BuildOpenFileScreen(const Page& page) {
    const std::optional<std::filesystem::path>& maps = ProgramMaps();
    if (!maps) {
        return;
    }
    OpenFilePageSetup setup;
    setup.startFolder = *maps;
    setup.patterns = FilePatterns({u"*.qvn"}, u"Quorvane (*.qvn)");
    setup.extras.title = ReadMapTitle;
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
