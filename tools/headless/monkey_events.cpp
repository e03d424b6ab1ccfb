#include "headless/monkey_events.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/pocket/shell_layout.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

struct Weighted {
    std::string_view text;
    int weight;
};

// Keys a user presses, the accelerators of the main window among them; the exit accelerators
// come separately and rarely.
constexpr std::array<Weighted, 22> kKeys{{
    {"escape", 10},    {"return", 9}, {"tab", 7},    {"shift+tab", 4}, {"up", 6},
    {"down", 6},       {"left", 4},   {"right", 4},  {"space", 4},     {"backspace", 5},
    {"delete", 1},     {"home", 1},   {"end", 1},    {"pageup", 1},    {"pagedown", 1},
    {"f1", 1},         {"ctrl+h", 3}, {"ctrl+n", 2}, {"ctrl+o", 2},    {"shift+up", 1},
    {"shift+left", 1}, {"alt+f", 1},
}};
constexpr std::array<std::string_view, 2> kExitKeys{"ctrl+q", "alt+f4"};
// In a thousand keys.
constexpr int kExitKeyPerMille = 2;

// Where the main window's menu opens: its button at the left of the menu bar, and the items of
// its popup above, the last of them (exit) at the bottom.
constexpr POINT kMenuButton{18, 307};
constexpr RECT kMenuItems{8, 162, 150, 292};
constexpr int kExitItemTop = 275;

// The "ok" of the navigation bar, top right.
constexpr RECT kOkArea{211, 4, 238, 23};

template <std::size_t N>
std::string_view Pick(const std::array<Weighted, N>& choices, int roll) {
    for (const Weighted& choice : choices) {
        if (roll < choice.weight) {
            return choice.text;
        }
        roll -= choice.weight;
    }
    return choices.back().text;
}

template <std::size_t N>
constexpr int TotalWeight(const std::array<Weighted, N>& choices) {
    int total = 0;
    for (const Weighted& choice : choices) {
        total += choice.weight;
    }
    return total;
}

}  // namespace

int MonkeyEvents::Between(int low, int high) {
    const auto span = static_cast<std::uint32_t>(high - low) + 1;
    return low + static_cast<int>(random_() % span);
}

std::string MonkeyEvents::Next() {
    if (!pending_.empty()) {
        std::string line = std::move(pending_.front());
        pending_.pop_front();
        return line;
    }
    const int roll = Between(1, 100);
    if (roll <= 3) {
        return MenuChoice();
    }
    if (roll <= 5) {
        return PressAcross();
    }
    if (roll <= 40) {
        return Tap();
    }
    if (roll <= 48) {
        return Drag();
    }
    if (roll <= 53) {
        return Hold();
    }
    if (roll <= 75) {
        return Key();
    }
    if (roll <= 85) {
        return Typed();
    }
    return Wait();
}

std::string MonkeyEvents::Place() {
    const int roll = Between(1, 100);
    int x = Between(0, kScreenWidth - 1);
    int y = 0;
    if (roll <= 30) {
        y = Between(MenuBarRect().top, MenuBarRect().bottom - 1);
    } else if (roll <= 40) {
        x = Between(kOkArea.left, kOkArea.right - 1);
        y = Between(kOkArea.top, kOkArea.bottom - 1);
    } else if (roll <= 45) {
        y = Between(0, NavigationBarRect().bottom - 1);
    } else if (roll <= 57) {
        y = Between(InputPanelRect().top, InputPanelRect().bottom - 1);
    } else {
        y = Between(WorkArea().top, WorkArea().bottom - 1);
    }
    return std::to_string(x) + " " + std::to_string(y);
}

std::string MonkeyEvents::ScreenPoint() {
    return std::to_string(Between(0, kScreenWidth - 1)) + " " +
           std::to_string(Between(0, kScreenHeight - 1));
}

std::string MonkeyEvents::Tap() {
    return "tap " + Place();
}

std::string MonkeyEvents::Drag() {
    const int x = Between(0, kScreenWidth - 1);
    const int y = Percent(70) ? Between(WorkArea().top, WorkArea().bottom - 1)
                              : Between(0, kScreenHeight - 1);
    if (Percent(40)) {
        // A short stroke, as when a tap slips.
        return "drag " + std::to_string(x) + " " + std::to_string(y) + " " +
               std::to_string(std::clamp(x + Between(-12, 12), 0, kScreenWidth - 1)) + " " +
               std::to_string(std::clamp(y + Between(-12, 12), 0, kScreenHeight - 1));
    }
    return "drag " + std::to_string(x) + " " + std::to_string(y) + " " + ScreenPoint();
}

std::string MonkeyEvents::Hold() {
    return "hold " + Place() + " " + std::to_string(Between(300, 2500));
}

std::string MonkeyEvents::Key() {
    if (Between(0, 999) < kExitKeyPerMille) {
        return "key " + std::string(kExitKeys[Between(0, static_cast<int>(kExitKeys.size()) - 1)]);
    }
    const int roll = Between(0, TotalWeight(kKeys) + 3);
    if (roll >= TotalWeight(kKeys)) {
        // Any other letter with control, as an edit's shortcuts are tried.
        char letter = static_cast<char>('a' + Between(0, 25));
        if (letter == 'q') {
            letter = 'c';
        }
        return std::string("key ctrl+") + letter;
    }
    return "key " + std::string(Pick(kKeys, roll));
}

std::string MonkeyEvents::Typed() {
    std::u16string text;
    const int length = Between(1, 4);
    for (int i = 0; i < length; ++i) {
        const int roll = Between(1, 100);
        if (roll <= 55) {
            // А to я, with Ё and ё now and then.
            const int letter = Between(0, 65);
            text += letter == 64   ? u'\u0401'
                    : letter == 65 ? u'\u0451'
                                   : static_cast<char16_t>(u'\u0410' + letter);
        } else if (roll <= 85) {
            const int letter = Between(0, 51);
            text += static_cast<char16_t>(letter < 26 ? u'a' + letter : u'A' + letter - 26);
        } else {
            text += static_cast<char16_t>(u'0' + Between(0, 9));
        }
    }
    return "type " + Utf16ToUtf8(text);
}

std::string MonkeyEvents::MenuChoice() {
    // Random taps seldom open the menu and then hit an item; this does, on whatever the menu
    // button opens at the time.
    const int bottom = Percent(90) ? kExitItemTop - 1 : kMenuItems.bottom - 1;
    pending_.push_back("tap " + std::to_string(Between(kMenuItems.left, kMenuItems.right - 1)) +
                       " " + std::to_string(Between(kMenuItems.top, bottom)));
    return "tap " + std::to_string(kMenuButton.x) + " " + std::to_string(kMenuButton.y);
}

std::string MonkeyEvents::PressAcross() {
    // The pen stays down while a key is pressed, time passes or text comes, and is lifted
    // somewhere else.
    const int roll = Between(1, 3);
    pending_.push_back(roll == 1 ? Key() : roll == 2 ? Wait() : Typed());
    const std::string to = ScreenPoint();
    pending_.push_back("move " + to);
    pending_.push_back("up " + to);
    return "down " + Place();
}

std::string MonkeyEvents::Wait() {
    const int roll = Between(1, 100);
    const int ms = roll <= 80   ? Between(10, 500)
                   : roll <= 95 ? Between(500, 2500)
                                : Between(2500, 6000);
    return "wait " + std::to_string(ms);
}

}  // namespace qv::tools
