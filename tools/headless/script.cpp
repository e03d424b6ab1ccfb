#include "headless/script.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <utility>

#include "command_line.h"
#include "platform/host/virtual_keys.h"
#include "resources/resource_ids.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

constexpr HostTime kTapDuration{50};
constexpr int kDragSteps = 5;
constexpr HostTime kDragStepDuration{20};
// Coordinates and times beyond these are refused as mistakes.
constexpr int kMaxCoordinate = 10000;
constexpr int kMaxNotches = 1000;
constexpr std::int64_t kMaxMilliseconds = 24LL * 3600 * 1000;

constexpr std::array<std::pair<std::string_view, int>, 16> kKeyNames{{
    {"return", VK_RETURN},
    {"enter", VK_RETURN},
    {"escape", VK_ESCAPE},
    {"tab", VK_TAB},
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"backspace", VK_BACK},
    {"space", VK_SPACE},
    {"delete", VK_DELETE},
    {"home", VK_HOME},
    {"end", VK_END},
    {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT},
    {"f1", VK_F1},
}};

constexpr std::array<std::pair<std::string_view, int>, 14> kCommandNames{{
    {"ID_OPEN", ID_OPEN},
    {"ID_ABOUT", ID_ABOUT},
    {"ID_EXIT", ID_EXIT},
    {"ID_DEPARTURE", ID_DEPARTURE},
    {"ID_DESTINATION", ID_DESTINATION},
    {"ID_LOAD_MAP", ID_LOAD_MAP},
    {"ID_STATION_LIST", ID_STATION_LIST},
    {"ID_CLEAR_STATIONS", ID_CLEAR_STATIONS},
    {"ID_ROUTE_INFO", ID_ROUTE_INFO},
    {"ID_SETTINGS", ID_SETTINGS},
    {"ID_FORBIDDEN_STATION", ID_FORBIDDEN_STATION},
    {"ID_SCALE", ID_SCALE},
    {"ID_HELP", ID_HELP},
    {"ID_MENUBAR_SCHEME", 101},
}};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

std::optional<int> KeyCode(std::string_view name) {
    for (const auto& [known, code] : kKeyNames) {
        if (name == known) {
            return code;
        }
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return std::toupper(static_cast<unsigned char>(name[0]));
    }
    if (name.size() >= 2 && name[0] == 'f') {
        if (const auto number = WholeNumber(name.substr(1), 1, 12)) {
            return VK_F1 + static_cast<int>(*number) - 1;
        }
    }
    return std::nullopt;
}

// The text a keyboard sends with a letter or digit pressed without control or alt: the letter
// in its case, or the digit. Shift with a digit depends on the layout and sends none here.
std::optional<InputEvent> TypedCharacter(const InputEvent& key) {
    const KeyModifiers held = key.modifiers;
    const bool letter = key.virtualKey >= 'A' && key.virtualKey <= 'Z';
    const bool digit = key.virtualKey >= '0' && key.virtualKey <= '9';
    if (held.control || held.alt || !(letter || (digit && !held.shift))) {
        return std::nullopt;
    }
    InputEvent typed;
    typed.kind = InputEvent::Kind::Character;
    typed.character =
        static_cast<char16_t>(letter && !held.shift ? key.virtualKey - 'A' + 'a' : key.virtualKey);
    return typed;
}

InputEvent Pen(InputEvent::Kind kind, int x, int y) {
    InputEvent event;
    event.kind = kind;
    event.position = {x, y};
    return event;
}

// Reads the line's words after its command and turns them into steps.
class LineReader {
  public:
    LineReader(std::string_view rest, std::vector<ScriptStep>& steps)
        : rest_(rest), steps_(steps) {}

    std::optional<std::string> Play(std::string_view command) {
        if (command == "tap" || command == "down" || command == "move" || command == "up") {
            int x = 0;
            int y = 0;
            if (!Coordinate(x) || !Coordinate(y) || !AtEnd()) {
                return "wants X Y";
            }
            if (command == "tap") {
                Input(Pen(InputEvent::Kind::PenDown, x, y));
                Advance(kTapDuration);
                Input(Pen(InputEvent::Kind::PenUp, x, y));
            } else {
                Input(Pen(command == "down"   ? InputEvent::Kind::PenDown
                          : command == "move" ? InputEvent::Kind::PenMove
                                              : InputEvent::Kind::PenUp,
                          x, y));
            }
            return std::nullopt;
        }
        if (command == "drag") {
            int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            if (!Coordinate(x1) || !Coordinate(y1) || !Coordinate(x2) || !Coordinate(y2) ||
                !AtEnd()) {
                return "wants X1 Y1 X2 Y2";
            }
            Input(Pen(InputEvent::Kind::PenDown, x1, y1));
            for (int step = 1; step <= kDragSteps; ++step) {
                Advance(kDragStepDuration);
                Input(Pen(InputEvent::Kind::PenMove, x1 + (x2 - x1) * step / kDragSteps,
                          y1 + (y2 - y1) * step / kDragSteps));
            }
            Input(Pen(InputEvent::Kind::PenUp, x2, y2));
            return std::nullopt;
        }
        if (command == "hold") {
            int x = 0, y = 0;
            std::int64_t ms = 0;
            if (!Coordinate(x) || !Coordinate(y) || !Milliseconds(ms) || !AtEnd()) {
                return "wants X Y MS";
            }
            Input(Pen(InputEvent::Kind::PenDown, x, y));
            Advance(HostTime(ms));
            Input(Pen(InputEvent::Kind::PenUp, x, y));
            return std::nullopt;
        }
        if (command == "wait" || command == "pause") {
            std::int64_t ms = 0;
            if (!Milliseconds(ms) || !AtEnd()) {
                return "wants MS";
            }
            if (command == "wait") {
                Advance(HostTime(ms));
            } else {
                steps_.push_back(PauseStep{std::chrono::milliseconds(ms)});
            }
            return std::nullopt;
        }
        if (command == "key") {
            const std::string name = Word();
            const auto key = ParseKey(name);
            if (!key || !AtEnd()) {
                return "unknown key \"" + name + "\"";
            }
            InputEvent up = *key;
            up.kind = InputEvent::Kind::KeyUp;
            Input(*key);
            if (const auto typed = TypedCharacter(*key)) {
                Input(*typed);
            }
            Input(up);
            return std::nullopt;
        }
        if (command == "type" || command == "menu") {
            const auto text = Utf8ToUtf16(Rest());
            if (!text || text->empty()) {
                return "wants TEXT in UTF-8";
            }
            if (command == "type") {
                for (const char16_t c : *text) {
                    InputEvent event;
                    event.kind = InputEvent::Kind::Character;
                    event.character = c;
                    Input(event);
                }
            } else {
                steps_.push_back(MenuStep{*text});
            }
            return std::nullopt;
        }
        if (command == "command") {
            const std::string name = Word();
            std::optional<int> id;
            for (const auto& [known, value] : kCommandNames) {
                if (name == known) {
                    id = value;
                }
            }
            if (!id) {
                if (const auto number = WholeNumber(name, 0, 0xFFFF)) {
                    id = static_cast<int>(*number);
                }
            }
            if (!id || !AtEnd()) {
                return "wants a command id (a number or a name such as ID_EXIT)";
            }
            steps_.push_back(CommandStep{*id});
            return std::nullopt;
        }
        if (command == "wheel") {
            int x = 0;
            int y = 0;
            if (!Notches(x) || !Notches(y)) {
                return "wants DX DY [ctrl|shift]";
            }
            InputEvent event;
            event.kind = InputEvent::Kind::Wheel;
            event.notches = {x, y};
            if (const std::string held = Lower(Word()); held == "ctrl" || held == "control") {
                event.modifiers.control = true;
            } else if (held == "shift") {
                event.modifiers.shift = true;
            } else if (!held.empty()) {
                return "wants DX DY [ctrl|shift]";
            }
            if (!AtEnd()) {
                return "wants DX DY [ctrl|shift]";
            }
            Input(event);
            return std::nullopt;
        }
        if (command == "drop") {
            const std::string path = Rest();
            if (path.empty()) {
                return "wants PATH";
            }
            // As the program is started with it: relative to the working folder.
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(path, error);
            InputEvent event;
            event.kind = InputEvent::Kind::Drop;
            event.path = FileNameText(error ? path : absolute.string());
            Input(event);
            return std::nullopt;
        }
        if (command == "shot") {
            const std::string file = Word();
            if (file.empty() || !AtEnd()) {
                return "wants NAME.png";
            }
            steps_.push_back(ShotStep{file});
            return std::nullopt;
        }
        if (command == "state") {
            if (!AtEnd()) {
                return "takes nothing";
            }
            steps_.push_back(StateStep{});
            return std::nullopt;
        }
        return "unknown command \"" + std::string(command) + "\"";
    }

  private:
    std::string Word() {
        const auto start = rest_.find_first_not_of(" \t");
        if (start == std::string_view::npos) {
            rest_ = {};
            return {};
        }
        rest_.remove_prefix(start);
        const auto end = rest_.find_first_of(" \t");
        std::string word(rest_.substr(0, end));
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end);
        return word;
    }
    std::string Rest() {
        const auto start = rest_.find_first_not_of(" \t");
        std::string text = start == std::string_view::npos ? "" : std::string(rest_.substr(start));
        rest_ = {};
        return text;
    }
    bool AtEnd() const { return rest_.find_first_not_of(" \t") == std::string_view::npos; }
    bool Coordinate(int& value) {
        const auto number = WholeNumber(Word(), -kMaxCoordinate, kMaxCoordinate);
        value = number ? static_cast<int>(*number) : 0;
        return number.has_value();
    }
    bool Notches(int& value) {
        const auto number = WholeNumber(Word(), -kMaxNotches, kMaxNotches);
        value = number ? static_cast<int>(*number) : 0;
        return number.has_value();
    }
    bool Milliseconds(std::int64_t& value) {
        const auto number = WholeNumber(Word(), 0, kMaxMilliseconds);
        value = number.value_or(0);
        return number.has_value();
    }
    void Input(const InputEvent& event) { steps_.push_back(InputStep{event}); }
    void Advance(HostTime duration) { steps_.push_back(AdvanceStep{duration}); }

    std::string_view rest_;
    std::vector<ScriptStep>& steps_;
};

}  // namespace

std::optional<InputEvent> ParseKey(std::string_view name) {
    InputEvent event;
    event.kind = InputEvent::Kind::KeyDown;
    std::string lower = Lower(name);
    std::string_view rest = lower;
    for (;;) {
        const auto plus = rest.find('+');
        if (plus == std::string_view::npos || plus + 1 == rest.size()) {
            break;
        }
        const std::string_view modifier = rest.substr(0, plus);
        if (modifier == "ctrl" || modifier == "control") {
            event.modifiers.control = true;
        } else if (modifier == "alt") {
            event.modifiers.alt = true;
        } else if (modifier == "shift") {
            event.modifiers.shift = true;
        } else {
            return std::nullopt;
        }
        rest.remove_prefix(plus + 1);
    }
    const auto code = KeyCode(rest);
    if (!code) {
        return std::nullopt;
    }
    event.virtualKey = *code;
    return event;
}

std::variant<std::vector<ScriptStep>, ScriptError> ParseScript(std::string_view text) {
    std::vector<ScriptStep> steps;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (const auto comment = line.find('#');
            comment != std::string_view::npos && !line.starts_with("type") &&
            !line.starts_with("drop") && !line.starts_with("menu")) {
            line = line.substr(0, comment);
        }
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos) {
            continue;
        }
        line.remove_prefix(start);
        const auto space = line.find_first_of(" \t");
        const std::string_view command = line.substr(0, space);
        LineReader reader(space == std::string_view::npos ? std::string_view{} : line.substr(space),
                          steps);
        if (auto error = reader.Play(command)) {
            return ScriptError{number, std::string(command) + ": " + *error};
        }
    }
    return steps;
}

}  // namespace qv::tools
