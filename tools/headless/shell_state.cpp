#include "headless/shell_state.h"

#include <span>
#include <string>

#include "platform/controls/popup_menu_window.h"
#include "platform/pocket/menu_bar.h"
#include "platform/pocket/navigation_bar.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/menu.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

RECT OnScreen(HWND window, const RECT& rect) {
    POINT corner{rect.left, rect.top};
    ClientToScreen(window, &corner);
    return {corner.x, corner.y, corner.x + rect.right - rect.left,
            corner.y + rect.bottom - rect.top};
}

void WriteMenuBarButtons(JsonWriter& json, HWND bar) {
    json.Key("buttons").BeginArray();
    const auto count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int button = 0; button < count; ++button) {
        RECT rect{};
        SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(button), PointerParam(&rect));
        WriteRect(json, OnScreen(bar, rect));
    }
    json.EndArray();
}

void WriteMenuItems(JsonWriter& json, const PopupMenuWindow& popup) {
    json.Key("items").BeginArray();
    const HMENU menu = popup.ShownMenu();
    const auto items = menu ? menu->Items() : std::span<const MenuItem>{};
    for (std::size_t position = 0; position < items.size(); ++position) {
        const auto rect = popup.ItemRect(static_cast<int>(position));
        json.BeginObject().Member("text", Utf16ToUtf8(items[position].text)).Key("rect");
        WriteRect(json, OnScreen(popup.Window(), rect.value_or(RECT{})));
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

void WriteRect(JsonWriter& json, const RECT& rect) {
    json.BeginArray()
        .Value(std::int64_t{rect.left})
        .Value(std::int64_t{rect.top})
        .Value(std::int64_t{rect.right})
        .Value(std::int64_t{rect.bottom})
        .EndArray();
}

void WriteShellParts(JsonWriter& json, HWND window, std::u16string_view className) {
    if (className == kMenuBarClassName) {
        WriteMenuBarButtons(json, window);
    } else if (className == kNavigationBarClassName) {
        const RECT done = DoneButtonRect(window);
        json.Key("doneButton");
        if (done.right > done.left) {
            WriteRect(json, OnScreen(window, done));
        } else {
            json.Null();
        }
    } else if (const PopupMenuWindow* popup = PopupMenuOf(window)) {
        WriteMenuItems(json, *popup);
    }
}

}  // namespace qv::tools
