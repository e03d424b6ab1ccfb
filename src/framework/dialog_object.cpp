#include "framework/dialog_object.h"

#include <utility>

#include "platform/pocket/shell_dialog.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// The shell's set-up of a dialog that does not make its own: the "ok" button, the whole screen
// below the navigation bar, the input panel down.
constexpr DWORD kDefaultShellSetUp = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;

}  // namespace

FrameworkObject::EntryProcedure DialogObject::GetEntryProcedure() const {
    return DialogMessageProcedure;
}

LRESULT DialogMessageProcedure(FrameworkObject& object, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    LRESULT result = 0;
    const bool handled = object.HandleAsCurrent(message, wParam, lParam, result);
    if (handled) {
        if (DialogAnswersByReturnValue(message)) {
            return result;
        }
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO setUp{SHIDIM_FLAGS, object.hwnd, kDefaultShellSetUp};
            SHInitDialog(&setUp);  // a dialog that cannot be set up still runs
            return result;
        }
        SetWindowLongW(object.hwnd, DWL_MSGRESULT, result);
        return 1;
    }
    if (message == WM_DESTROY) {
        const HWND former = std::exchange(object.hwnd, nullptr);
        object.OnWindowGone(former);
    }
    return 0;
}

}  // namespace qv
