#pragma once

#include <span>
#include <string_view>

#include "platform/gdi/gdi_types.h"

namespace qv {

// The on-screen keyboard's layouts, in the order the layout key goes round them.
enum class KeyboardLayoutId { Russian, Latin, Symbols };

enum class KeyAction { Character, Shift, Caps, Backspace, Return, Space, NextLayout };

// One key: what it does and where it lies in the keyboard's client area. Letters hold their
// small form.
struct KeyCap {
    KeyAction action = KeyAction::Character;
    char16_t character = 0;
    RECT rect{};
};

struct KeyboardLayout {
    KeyboardLayoutId id = KeyboardLayoutId::Russian;
    // Shown on the layout key of the layout before this one.
    std::u16string_view name;
    std::span<const KeyCap> keys;
};

// Four rows of keys filling kInputPanelWidth x kInputPanelHeight.
const KeyboardLayout& LayoutOf(KeyboardLayoutId id);
KeyboardLayoutId NextLayout(KeyboardLayoutId id);
// The key under the point of the keyboard's client area, or null.
const KeyCap* KeyAt(const KeyboardLayout& layout, POINT point);

// The capital of a Latin or Cyrillic small letter; anything else stays as it is.
char16_t CapitalOf(char16_t character);
// The virtual key of the physical key that types the character on a Russian or US keyboard,
// as a physical keyboard reports it; 0 for a character no key types.
int VirtualKeyOf(char16_t character);

}  // namespace qv
