#include "platform/user/api/accelerator_table.h"

#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

WORD AcceleratorTable::CommandOf(const MSG& message, bool control, bool alt, bool shift) const {
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool character = message.message == WM_CHAR || message.message == WM_SYSCHAR;
    for (const ACCEL& entry : entries_) {
        if ((entry.fVirt & FVIRTKEY) != 0) {
            if (keyDown && entry.key == message.wParam &&
                ((entry.fVirt & FCONTROL) != 0) == control && ((entry.fVirt & FALT) != 0) == alt &&
                ((entry.fVirt & FSHIFT) != 0) == shift) {
                return entry.cmd;
            }
        } else if (character && entry.key == message.wParam && ((entry.fVirt & FALT) != 0) == alt) {
            return entry.cmd;
        }
    }
    return 0;
}

HACCEL LoadAcceleratorsW(HINSTANCE module, int id) {
    const AcceleratorResource* resource =
        module ? module->FindResource<AcceleratorResource>(id) : nullptr;
    return resource ? new AcceleratorTable(resource->entries) : nullptr;
}

HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count) {
    if (!entries || count <= 0) {
        return nullptr;
    }
    return new AcceleratorTable(std::span<const ACCEL>(entries, static_cast<std::size_t>(count)));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    delete table;
    return table ? 1 : 0;
}

int TranslateAcceleratorW(HWND window, HACCEL table, const MSG* message) {
    if (!window || !table || !message || !IsWindow(window)) {
        return 0;
    }
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const WORD command = table->CommandOf(*message, control, alt, shift);
    if (command == 0) {
        return 0;
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return 1;
}

}  // namespace qv
