// quorvane-headless --script FILE [--out DIR] [--scale K] [MAP]: the program on the headless
// host with a virtual clock, driven by a script; see tools/headless/script.h for its commands.
// With --monkey N --seed S instead of a script, driven by N random events.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_line.h"
#include "headless/monkey.h"
#include "headless/script.h"
#include "headless/script_host.h"
#include "resources/main_toolbar.h"
#include "resources/program_resources.h"
#include "shell/program_entry.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

using namespace qv;

constexpr tools::OptionRule kOptions[] = {{"--script", 1}, {"--out", 1},  {"--scale", 1},
                                          {"--monkey", 1}, {"--seed", 1}, {"--lang", 1}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-headless",
    "Usage: quorvane-headless --script FILE [--out DIR] [--scale K] [--lang en|ru] [MAP]\n"
    "  or:  quorvane-headless --monkey N --seed S [--out DIR] [--scale K] [--lang en|ru] [MAP]\n"
    "Runs the program on a virtual 240 x 320 screen, driven by the script, one command a line\n"
    "(# starts a comment):\n"
    "\n"
    "  tap X Y            a tap; also down X Y, move X Y and up X Y\n"
    "  drag X1 Y1 X2 Y2   a drag; hold X Y MS holds the pen down for MS\n"
    "  key NAME[+NAME]    ctrl+h, alt+f4, return, escape, tab, shift+tab, up, down, a ...; a\n"
    "                     letter or digit without ctrl or alt also types it, as a keyboard does\n"
    "  type TEXT          types the text\n"
    "  wheel DX DY [ctrl|shift]  turns the wheel DY notches away from you (negative: towards)\n"
    "                     and DX to the right; a zoomed scheme moves 20 pixels a notch, with\n"
    "                     shift sideways; ctrl up zooms in, ctrl down zooms out\n"
    "  drop PATH          drops the file on the window: a map loads as MAP would, once no\n"
    "                     page or box is open\n"
    "  command ID         sends the command, a number or a name such as ID_EXIT\n"
    "  menu TEXT          chooses the menu item of that text (without &)\n"
    "  wait MS            lets MS pass on the virtual clock; pause MS waits in real time\n"
    "  shot NAME.png      writes the screen into DIR\n"
    "  state              prints the program's state as one JSON line\n"
    "\n"
    "MAP is loaded as if chosen on the open-file page. Settings come from $XDG_CONFIG_HOME.\n"
    "The texts are English when the first set of LC_ALL, LC_MESSAGES and LANG begins with \"en\",\n"
    "else Russian; --lang chooses instead.\n"
    "The exit code is the program's; 2 for a bad command line, script or a step that failed.\n"
    "\n"
    "--monkey plays N random events instead (taps, mostly on the menu bar row, the navigation\n"
    "bar's ok and the work area; drags; holds; keys with the accelerators; typed Cyrillic, Latin\n"
    "and digits; waits of virtual time), the same for the same seed S. After them it closes what\n"
    "is open with escape and ok, checks that the main window is shown, enabled and active with\n"
    "its menu bar and no modal loop or other window left, and ends the program with ctrl+q (its\n"
    "exit code must be 0). An exit command among the events ends that start of the program,\n"
    "which is then started again without MAP. $XDG_CONFIG_HOME must be set: the settings are\n"
    "written there, and the program's rendezvous with other copies lies there too. PATH is\n"
    "emptied, so no other program can be started: help shows its error box.\n"
    "A crash, a sanitizer's report, a leak, a hang (no return for input within 100000 host calls\n"
    "of an event, or no host call for 60 s) or a window left unusable ends it with status 1, the\n"
    "seed and the last 20 events as a script. With --out the events of the program's first\n"
    "start are in DIR/monkey-S.script, those of a later start K in DIR/monkey-S.K.script, to\n"
    "replay with a fresh $XDG_CONFIG_HOME and a private $XDG_RUNTIME_DIR (so that no running\n"
    "copy takes the map): env PATH= quorvane-headless --script FILE [MAP].\n"
    "\n"
    "Examples:\n"
    "  $ printf 'state\\nshot scheme.png\\nkey ctrl+q\\n' | quorvane-headless --script /dev/stdin "
    "--out /tmp/shots /usr/share/quorvane/maps/example.qvn\n",
    kOptions};

std::u16string MapArgument(const tools::CommandLine& line) {
    if (line.Plain().empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path map = std::filesystem::absolute(line.Plain()[0], error);
    return FileNameText((error ? std::filesystem::path(line.Plain()[0]) : map).string());
}

std::optional<std::string> MakeFolder(const std::string& out) {
    std::error_code made;
    std::filesystem::create_directories(out, made);
    if (made) {
        return "cannot make " + qv::Printable(out) + ": " + made.message();
    }
    return std::nullopt;
}

int RunMonkey(const tools::CommandLine& line) {
    if (line.Has("--script") || !line.Has("--seed")) {
        throw tools::UsageError("--monkey N wants --seed S and no --script");
    }
    tools::MonkeyOptions options;
    options.events = static_cast<std::uint64_t>(line.Number("--monkey", 0, 100000000, 0));
    options.seed = static_cast<std::uint32_t>(line.Number("--seed", 0, 4294967295LL, 0));
    options.scale = static_cast<int>(line.Number("--scale", 1, 3, 1));
    if (line.Has("--out")) {
        const std::string out = line.Text("--out", ".");
        if (const auto failed = MakeFolder(out)) {
            return tools::Fail(kSyntax, *failed);
        }
        options.out = out;
    }
    options.map = FileNameBytes(MapArgument(line)).value_or("");
    if (!tools::SetUpSandbox()) {
        return tools::Fail(kSyntax,
                           "$XDG_CONFIG_HOME must be an absolute path to a folder the "
                           "monkey can write in");
    }
    return tools::RunMonkey(options);
}

int RunHeadless(const tools::CommandLine& line) {
    SelectProgramLanguage(line.LanguageWanted());
    if (line.Plain().size() > 1) {
        throw tools::UsageError("at most one MAP");
    }
    if (line.Has("--monkey")) {
        return RunMonkey(line);
    }
    if (!line.Has("--script")) {
        throw tools::UsageError("--script FILE or --monkey N is wanted");
    }
    const std::string scriptPath = line.Text("--script", "");
    std::ifstream file(scriptPath, std::ios::binary);
    std::stringstream text;
    if (!file || !(text << file.rdbuf())) {
        return tools::Fail(kSyntax, "cannot read " + qv::Printable(scriptPath));
    }
    auto parsed = tools::ParseScript(text.str());
    if (const auto* error = std::get_if<tools::ScriptError>(&parsed)) {
        return tools::Fail(kSyntax, qv::Printable(scriptPath) + ":" + std::to_string(error->line) +
                                        ": " + error->reason);
    }
    const std::string out = line.Text("--out", ".");
    if (const auto failed = MakeFolder(out)) {
        return tools::Fail(kSyntax, *failed);
    }
    ProgramStart start;
    start.map = MapArgument(line);
    tools::ScriptHost host(std::move(std::get<std::vector<tools::ScriptStep>>(parsed)), out,
                           static_cast<int>(line.Number("--scale", 1, 3, 1)), stdout);
    const int exitCode = RunProgram(host, ProgramModule(), start);
    std::fflush(stdout);
    return host.Failed() ? tools::kToolFailed : exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, RunHeadless);
}
