#include "platform/pocket/keyboard_state.h"

#include "platform/host/virtual_keys.h"

namespace qv {

char16_t KeyboardState::CharacterOf(const KeyCap& key) const {
    if (key.action == KeyAction::Space) {
        return u' ';
    }
    if (key.action != KeyAction::Character) {
        return 0;
    }
    return shift_ != caps_ ? CapitalOf(key.character) : key.character;
}

std::optional<Keystroke> KeyboardState::Tap(const KeyCap& key) {
    switch (key.action) {
        case KeyAction::Character: {
            const char16_t character = CharacterOf(key);
            shift_ = false;
            return Keystroke{VirtualKeyOf(character), character};
        }
        case KeyAction::Space:
            return Keystroke{VK_SPACE, u' '};
        case KeyAction::Backspace:
            return Keystroke{VK_BACK, 0};
        case KeyAction::Return:
            return Keystroke{VK_RETURN, 0};
        case KeyAction::Shift:
            shift_ = !shift_;
            return std::nullopt;
        case KeyAction::Caps:
            caps_ = !caps_;
            return std::nullopt;
        case KeyAction::NextLayout:
            layout_ = NextLayout(layout_);
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace qv
