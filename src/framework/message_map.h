#pragma once

#include <span>

#include "platform/gdi/gdi_types.h"
#include "platform/user/records/user_types.h"
#include "platform/user/records/window_messages.h"

namespace qv {

// One message as a handler sees it.
struct Message {
    HWND window = nullptr;
    UINT id = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The parameters of the messages, decoded once.
inline POINT PenPosition(const Message& message) {
    // Unsigned client pixels, as the program reads them.
    const auto packed = static_cast<std::uintptr_t>(message.lParam);
    return {LOWORD(packed), HIWORD(packed)};
}
inline WORD CommandId(const Message& message) {
    return LOWORD(message.wParam);
}
inline WORD NotificationCode(const Message& message) {
    return HIWORD(message.wParam);
}
inline UINT_PTR TimerId(const Message& message) {
    return message.wParam;
}

// One entry of a message map: which messages it takes and the handler. A handler gets a
// handled flag set to true; clearing it hands the message on to the later entries.
template <typename Owner>
struct MessageMapEntry {
    using Handler = LRESULT (Owner::*)(const Message& message, bool& handled);
    enum class Kind { Message, Command, Notify };

    Kind kind = Kind::Message;
    UINT message = 0;
    UINT id = 0;
    UINT code = 0;
    Handler handler = nullptr;
    // A command entry without a code takes the command from menus, toolbars and controls alike.
    bool anyCode = true;

    bool Takes(const Message& m) const {
        switch (kind) {
            case Kind::Message:
                return m.id == message;
            case Kind::Command:
                return m.id == WM_COMMAND && LOWORD(m.wParam) == id &&
                       (anyCode || HIWORD(m.wParam) == code);
            case Kind::Notify: {
                const auto* header = PointerFromParam<const NMHDR>(m.lParam);
                return m.id == WM_NOTIFY && header && header->idFrom == id && header->code == code;
            }
        }
        return false;
    }
};

template <typename Owner>
constexpr MessageMapEntry<Owner> OnMessage(UINT message,
                                           LRESULT (Owner::*handler)(const Message&, bool&)) {
    return {MessageMapEntry<Owner>::Kind::Message, message, 0, 0, handler};
}
// A command by its id, whatever its notification code.
template <typename Owner>
constexpr MessageMapEntry<Owner> OnCommand(UINT id,
                                           LRESULT (Owner::*handler)(const Message&, bool&)) {
    return {MessageMapEntry<Owner>::Kind::Command, WM_COMMAND, id, 0, handler};
}
// A command by its id and one notification code only (EN_CHANGE of an edit, say).
template <typename Owner>
constexpr MessageMapEntry<Owner> OnCommand(UINT id, UINT code,
                                           LRESULT (Owner::*handler)(const Message&, bool&)) {
    return {MessageMapEntry<Owner>::Kind::Command, WM_COMMAND, id, code, handler, false};
}
template <typename Owner>
constexpr MessageMapEntry<Owner> OnNotify(UINT id, UINT code,
                                          LRESULT (Owner::*handler)(const Message&, bool&)) {
    return {MessageMapEntry<Owner>::Kind::Notify, WM_NOTIFY, id, code, handler};
}

// Offers the message to the entries in order; true when one handled it, with its result.
// Only map 0 exists: any other map id handles nothing.
template <typename Owner>
bool DispatchMessageMap(Owner& owner, std::span<const MessageMapEntry<Owner>> entries,
                        const Message& message, LRESULT& result, int mapId) {
    if (mapId != 0) {
        return false;
    }
    for (const MessageMapEntry<Owner>& entry : entries) {
        if (!entry.Takes(message)) {
            continue;
        }
        bool handled = true;
        result = (owner.*entry.handler)(message, handled);
        if (handled) {
            return true;
        }
    }
    return false;
}

}  // namespace qv
