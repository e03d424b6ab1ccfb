#include "platform/pocket/keyboard_layout.h"

#include <array>
#include <cassert>
#include <initializer_list>
#include <vector>

#include "platform/gdi/rectangle_math.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_layout.h"

namespace qv {

namespace {

constexpr int kRows = 4;
constexpr int kRowHeight = kInputPanelHeight / kRows;

// A stretch of a row: one key, a run of character keys of one width, or an empty gap.
struct Stretch {
    KeyAction action = KeyAction::Character;
    std::u16string_view characters;  // one key each
    int width = 0;
    bool gap = false;
};

Stretch Keys(std::u16string_view characters, int width) {
    return {KeyAction::Character, characters, width};
}
Stretch Key(KeyAction action, int width) {
    return {action, {}, width};
}
Stretch Gap(int width) {
    return {KeyAction::Character, {}, width, true};
}

// The bottom row is the same in every layout.
std::vector<Stretch> BottomRow() {
    return {Key(KeyAction::NextLayout, 30), Key(KeyAction::Caps, 30), Keys(u",", 20),
            Key(KeyAction::Space, 100),     Keys(u".", 20),           Key(KeyAction::Return, 40)};
}

std::vector<KeyCap> Arrange(std::initializer_list<std::vector<Stretch>> rows) {
    std::vector<KeyCap> keys;
    int top = 0;
    for (const std::vector<Stretch>& row : rows) {
        int left = 0;
        for (const Stretch& stretch : row) {
            if (stretch.gap) {
                left += stretch.width;
            } else if (stretch.action != KeyAction::Character) {
                keys.push_back(
                    {stretch.action, 0, {left, top, left + stretch.width, top + kRowHeight}});
                left += stretch.width;
            } else {
                for (const char16_t c : stretch.characters) {
                    keys.push_back({KeyAction::Character,
                                    c,
                                    {left, top, left + stretch.width, top + kRowHeight}});
                    left += stretch.width;
                }
            }
        }
        assert(left == kInputPanelWidth);
        top += kRowHeight;
    }
    assert(top == kInputPanelHeight);
    return keys;
}

const std::vector<KeyCap>& RussianKeys() {
    static const std::vector<KeyCap> keys = Arrange({
        {Keys(u"йцукенгшщзхъ", 20)},
        {Keys(u"фывапролджэё", 20)},
        {Key(KeyAction::Shift, 30), Keys(u"ячсмитьбю", 20), Key(KeyAction::Backspace, 30)},
        BottomRow(),
    });
    return keys;
}

const std::vector<KeyCap>& LatinKeys() {
    static const std::vector<KeyCap> keys = Arrange({
        {Keys(u"qwertyuiop", 24)},
        {Gap(12), Keys(u"asdfghjkl", 24), Gap(12)},
        {Key(KeyAction::Shift, 36), Keys(u"zxcvbnm", 24), Key(KeyAction::Backspace, 36)},
        BottomRow(),
    });
    return keys;
}

const std::vector<KeyCap>& SymbolKeys() {
    static const std::vector<KeyCap> keys = Arrange({
        {Keys(u"1234567890", 24)},
        {Keys(u"-/:;()\"'?!", 24)},
        {Keys(u"№@#%&*+=", 24), Key(KeyAction::Backspace, 48)},
        BottomRow(),
    });
    return keys;
}

// The Russian keyboard's letters in the order of the US keyboard's keys below.
constexpr std::u16string_view kRussianLetters = u"йцукенгшщзхъфывапролджэячсмитьбюё";
constexpr std::array<int, 33> kRussianKeys = {
    'Q',      'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O',          'P',           VK_OEM_4,
    VK_OEM_6, 'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K',          'L',           VK_OEM_1,
    VK_OEM_7, 'Z', 'X', 'C', 'V', 'B', 'N', 'M', VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_3};
static_assert(kRussianKeys.size() == kRussianLetters.size());

// The US keyboard's punctuation: each key's plain character, then its shifted one.
struct PunctuationKey {
    char16_t plain;
    char16_t shifted;
    int key;
};
constexpr PunctuationKey kPunctuation[] = {
    {u'`', u'~', VK_OEM_3},     {u'1', u'!', '1'},           {u'2', u'@', '2'},
    {u'3', u'#', '3'},          {u'4', u'$', '4'},           {u'5', u'%', '5'},
    {u'6', u'^', '6'},          {u'7', u'&', '7'},           {u'8', u'*', '8'},
    {u'9', u'(', '9'},          {u'0', u')', '0'},           {u'-', u'_', VK_OEM_MINUS},
    {u'=', u'+', VK_OEM_PLUS},  {u'[', u'{', VK_OEM_4},      {u']', u'}', VK_OEM_6},
    {u'\\', u'|', VK_OEM_5},    {u';', u':', VK_OEM_1},      {u'\'', u'"', VK_OEM_7},
    {u',', u'<', VK_OEM_COMMA}, {u'.', u'>', VK_OEM_PERIOD}, {u'/', u'?', VK_OEM_2},
};

// The small form of a Latin or Cyrillic capital.
char16_t SmallOf(char16_t c) {
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c + (u'a' - u'A'));
    }
    if (c >= u'А' && c <= u'Я') {
        return static_cast<char16_t>(c + (u'а' - u'А'));
    }
    return c == u'Ё' ? u'ё' : c;
}

}  // namespace

const KeyboardLayout& LayoutOf(KeyboardLayoutId id) {
    static const KeyboardLayout russian{KeyboardLayoutId::Russian, u"АБВ", RussianKeys()};
    static const KeyboardLayout latin{KeyboardLayoutId::Latin, u"ABC", LatinKeys()};
    static const KeyboardLayout symbols{KeyboardLayoutId::Symbols, u"123", SymbolKeys()};
    switch (id) {
        case KeyboardLayoutId::Latin:
            return latin;
        case KeyboardLayoutId::Symbols:
            return symbols;
        default:
            return russian;
    }
}

KeyboardLayoutId NextLayout(KeyboardLayoutId id) {
    switch (id) {
        case KeyboardLayoutId::Russian:
            return KeyboardLayoutId::Latin;
        case KeyboardLayoutId::Latin:
            return KeyboardLayoutId::Symbols;
        default:
            return KeyboardLayoutId::Russian;
    }
}

const KeyCap* KeyAt(const KeyboardLayout& layout, POINT point) {
    for (const KeyCap& key : layout.keys) {
        if (rect::Contains(key.rect, point)) {
            return &key;
        }
    }
    return nullptr;
}

char16_t CapitalOf(char16_t c) {
    if (c >= u'a' && c <= u'z') {
        return static_cast<char16_t>(c - (u'a' - u'A'));
    }
    if (c >= u'а' && c <= u'я') {
        return static_cast<char16_t>(c - (u'а' - u'А'));
    }
    return c == u'ё' ? u'Ё' : c;
}

int VirtualKeyOf(char16_t character) {
    const char16_t c = SmallOf(character);
    if (c >= u'a' && c <= u'z') {
        return 'A' + (c - u'a');
    }
    if (c == u' ') {
        return VK_SPACE;
    }
    if (c == u'№') {
        return '3';  // Shift+3 on the Russian keyboard
    }
    if (const std::size_t at = kRussianLetters.find(c); at != std::u16string_view::npos) {
        return kRussianKeys[at];
    }
    for (const PunctuationKey& key : kPunctuation) {
        if (key.plain == c || key.shifted == c) {
            return key.key;
        }
    }
    return 0;
}

}  // namespace qv
