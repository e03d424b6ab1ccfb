#include "dialogs/heading_font.h"

#include "platform/user/api/message_functions.h"
#include "platform/user/records/window_messages.h"

namespace qv {

UniqueFont MakeBoldFontOf(HWND control, std::optional<BYTE> charSet) {
    auto* current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW attributes;
    GetObjectW(current ? static_cast<HGDIOBJ>(current) : GetStockObject(SYSTEM_FONT),
               sizeof(attributes), &attributes);
    attributes.lfWeight = FW_BOLD;
    if (charSet) {
        attributes.lfCharSet = *charSet;
    }
    return UniqueFont(CreateFontIndirectW(&attributes));
}

void SetControlFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

}  // namespace qv
