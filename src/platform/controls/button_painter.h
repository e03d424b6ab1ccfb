#pragma once

#include <string_view>

#include "platform/gdi/device_context.h"

namespace qv {

// How a button looks at one moment; the painter knows nothing of how it got there.
struct ButtonLook {
    enum class Kind { Push, DefaultPush, CheckBox, Radio };

    Kind kind = Kind::Push;
    std::u16string_view text;
    HFONT font = nullptr;
    HBRUSH background = nullptr;  // behind check boxes and radio buttons
    bool pressed = false;
    bool focused = false;
    bool checked = false;
    bool disabled = false;
};

void PaintButton(HDC dc, const RECT& client, const ButtonLook& look);

}  // namespace qv
