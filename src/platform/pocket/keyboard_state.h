#pragma once

#include <optional>

#include "platform/pocket/keyboard_layout.h"

namespace qv {

// What a tap on a key types: the virtual key of its press and release, and the character, or 0
// when the key's own press makes one (Backspace, Return).
struct Keystroke {
    int virtualKey = 0;
    char16_t character = 0;
    bool operator==(const Keystroke&) const = default;
};

// The keyboard's modes: the layout shown, Shift (for the next character only) and Caps. Shift
// with Caps types small letters, as on a physical keyboard.
class KeyboardState {
  public:
    const KeyboardLayout& Layout() const { return LayoutOf(layout_); }
    bool Shift() const { return shift_; }
    bool Caps() const { return caps_; }
    // The character the key types now (a letter in the case it would take).
    char16_t CharacterOf(const KeyCap& key) const;
    // Changes the modes as the tap does and returns what it types, if anything.
    std::optional<Keystroke> Tap(const KeyCap& key);

  private:
    KeyboardLayoutId layout_ = KeyboardLayoutId::Russian;
    bool shift_ = false;
    bool caps_ = false;
};

}  // namespace qv
