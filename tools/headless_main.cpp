// quorvane-headless --script FILE [--out DIR] [--scale K] [MAP]: the program on the headless
// host with a virtual clock, driven by a script; see tools/headless/script.h for its commands.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_line.h"
#include "headless/script.h"
#include "headless/script_host.h"
#include "printable.h"
#include "resources/program_resources.h"
#include "shell/program_entry.h"
#include "text/utf.h"

namespace {

using namespace qv;

constexpr tools::OptionRule kOptions[] = {{"--script", 1}, {"--out", 1}, {"--scale", 1}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-headless",
    "usage: quorvane-headless --script FILE [--out DIR] [--scale K] [MAP]\n"
    "Runs the program on a virtual 240 x 320 screen, driven by the script, one command a line\n"
    "(# starts a comment):\n"
    "  tap X Y | down X Y | move X Y | up X Y | drag X1 Y1 X2 Y2 | hold X Y MS\n"
    "  key NAME[+NAME]   (ctrl+h, alt+f4, return, escape, tab, shift+tab, up, down, a ...)\n"
    "  type TEXT | command ID (number or name, e.g. ID_EXIT) | menu TEXT (without &)\n"
    "  wait MS (virtual time) | pause MS (real time) | shot NAME.png (into DIR) | state (JSON)\n"
    "MAP is loaded as if chosen on the open-file page. Settings come from $XDG_CONFIG_HOME.\n"
    "The exit code is the program's; 2 for a bad command line, script or a step that failed.\n",
    kOptions};

int RunHeadless(const tools::CommandLine& line) {
    if (!line.Has("--script")) {
        throw tools::UsageError("--script FILE is wanted");
    }
    if (line.Plain().size() > 1) {
        throw tools::UsageError("at most one MAP");
    }
    const std::string scriptPath = line.Text("--script", "");
    std::ifstream file(scriptPath, std::ios::binary);
    std::stringstream text;
    if (!file || !(text << file.rdbuf())) {
        return tools::Fail(kSyntax, "cannot read " + tools::Printable(scriptPath));
    }
    auto parsed = tools::ParseScript(text.str());
    if (const auto* error = std::get_if<tools::ScriptError>(&parsed)) {
        return tools::Fail(kSyntax, tools::Printable(scriptPath) + ":" +
                                        std::to_string(error->line) + ": " + error->reason);
    }
    const std::string out = line.Text("--out", ".");
    std::error_code made;
    std::filesystem::create_directories(out, made);
    if (made) {
        return tools::Fail(kSyntax, "cannot make " + tools::Printable(out) + ": " + made.message());
    }
    ProgramStart start;
    if (!line.Plain().empty()) {
        std::error_code error;
        const std::filesystem::path map = std::filesystem::absolute(line.Plain()[0], error);
        start.map = Utf8ToUtf16((error ? std::filesystem::path(line.Plain()[0]) : map).string())
                        .value_or(u"");
    }
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
