#include "platform/controls/notify_messages.h"

#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"

namespace qv {

NMHDR NotificationHeader(HWND control, UINT code) {
    return {control, static_cast<UINT_PTR>(GetDlgCtrlID(control)), code};
}

LRESULT NotifyParent(HWND control, NMHDR* header) {
    const HWND parent = GetParent(control);
    if (!parent) {
        return 0;
    }
    return SendMessageW(parent, WM_NOTIFY, header->idFrom, PointerParam(header));
}

}  // namespace qv
