#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/host/host.h"

namespace qv::tools {

// One step of a script, in the order the host plays them.
struct InputStep {
    InputEvent event;
};
struct AdvanceStep {  // lets the virtual clock run this much further
    HostTime duration{0};
};
struct PauseStep {  // waits this long in real time, answering other programs meanwhile
    std::chrono::milliseconds duration{0};
};
struct CommandStep {
    int id = 0;
};
struct MenuStep {
    std::u16string text;  // without "&"
};
struct ShotStep {
    std::string file;
};
struct StateStep {};
using ScriptStep =
    std::variant<InputStep, AdvanceStep, PauseStep, CommandStep, MenuStep, ShotStep, StateStep>;

// A script line that cannot be played: its number and why.
struct ScriptError {
    int line = 0;
    std::string reason;
};

// The steps of a script's text, one command a line, "#" starting a comment; or the first line
// that is wrong.
std::variant<std::vector<ScriptStep>, ScriptError> ParseScript(std::string_view text);

// A key as the script names it ("ctrl+h", "alt+f4", "return", "a"): its virtual key and
// modifiers; nothing for a name it does not know.
std::optional<InputEvent> ParseKey(std::string_view name);

}  // namespace qv::tools
