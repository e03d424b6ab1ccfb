#pragma once

#include <string>

#include "platform/controls/list_view_messages.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/records/user_types.h"

namespace qv::testing {

inline std::u16string ItemText(HWND list, int index, int column) {
    char16_t buffer[160] = {};
    LVITEMW item;
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 160;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), PointerParam(&item));
    return buffer;
}

}  // namespace qv::testing
