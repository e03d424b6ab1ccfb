// The whole program on the headless host, on the largest shipped map with a saved route that
// changes lines: a start that shows the scheme and ends, and the same start with one page opened
// and closed, so that a page's own cost is the difference between the two.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "headless/script.h"
#include "headless/script_host.h"
#include "model/map_file.h"
#include "resources/program_resources.h"
#include "settings/settings_file.h"
#include "shell/program_entry.h"
#include "text/utf.h"

namespace {

using namespace qv;

constexpr const char* kMap = QV_MAPS_DIR "/moscow.qvn";
constexpr std::u16string_view kDeparture = u"Выхино";
constexpr std::u16string_view kDestination = u"Речной вокзал";

// The station-index number of the station of that name; -1 when there is none.
std::int32_t IndexOf(const NetworkModel& model, std::u16string_view name) {
    for (const Station* station : model.Stations()) {
        if (station->name == name) {
            return station->index;
        }
    }
    return -1;
}

// Settings and rendezvous in a scratch folder of their own; the map and the route are remembered
// there, so every start shows them.
bool PrepareHome(const std::filesystem::path& home) {
    std::error_code error;
    std::filesystem::create_directories(home / "run", error);
    std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all, error);
    if (error || setenv("XDG_CONFIG_HOME", home.c_str(), 1) != 0 ||
        setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1) != 0) {
        return false;
    }
    Settings settings;
    NetworkModel model;
    settings.mapPath = *Utf8ToUtf16(kMap);
    if (LoadMapFile(model, settings.mapPath, settings) != 0) {
        return false;
    }
    settings.saveRoute = true;
    settings.departureIndex = IndexOf(model, kDeparture);
    settings.destinationIndex = IndexOf(model, kDestination);
    return settings.departureIndex >= 0 && settings.destinationIndex >= 0 &&
           SaveSettings(settings) == 1;
}

std::optional<std::vector<tools::ScriptStep>> Steps(std::string_view script) {
    auto parsed = tools::ParseScript(script);
    auto* steps = std::get_if<std::vector<tools::ScriptStep>>(&parsed);
    return steps ? std::optional(std::move(*steps)) : std::nullopt;
}

// Whether the program ran the script to its end with exit code 0; what `state` wrote goes to
// `stateOut`.
bool Run(const std::vector<tools::ScriptStep>& steps, std::FILE* stateOut) {
    tools::ScriptHost host(steps, {}, 1, stateOut);
    return RunProgram(host, ProgramModule()) == 0 && !host.Failed();
}

// Whether the page opened by the command shows the text, asked once before the timing so that
// a page that never opened cannot pass for a fast one.
bool PageShows(std::string_view command, std::string_view text) {
    const auto steps = Steps("command " + std::string(command) + "\nstate\nkey escape\n");
    std::FILE* state = std::tmpfile();
    if (!steps || !state || !Run(*steps, state)) {
        if (state) {
            std::fclose(state);
        }
        return false;
    }
    std::string written;
    std::rewind(state);
    for (int c = std::fgetc(state); c != EOF; c = std::fgetc(state)) {
        written += static_cast<char>(c);
    }
    std::fclose(state);
    return written.find(text) != std::string::npos;
}

// Starts the program, opens the page with the command (none: no page) and closes it with
// Escape, and ends the program, once an iteration.
void OpenAndClose(benchmark::State& state, std::string_view command, std::string_view shows) {
    if (!command.empty() && !PageShows(command, shows)) {
        state.SkipWithError("the page did not open");
        return;
    }
    const auto steps =
        Steps(command.empty() ? std::string("key ctrl+q\n")
                              : "command " + std::string(command) + "\nkey escape\nkey ctrl+q\n");
    for (auto _ : state) {
        if (!steps || !Run(*steps, nullptr)) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

BENCHMARK_CAPTURE(OpenAndClose, StartShowAndEnd, "", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndClose, StationPicker, "ID_STATION_LIST", "SysTabControl32")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndClose, RouteDetails, "ID_ROUTE_INFO", "Пересадка на линию")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndClose, Settings, "ID_SETTINGS", "Время показа подсказки")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndClose, About, "ID_ABOUT", "Quorvane")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("quorvane-pages-bench-" + std::to_string(getpid()));
    const bool prepared = PrepareHome(home);
    if (!prepared) {
        std::filesystem::remove_all(home);
        std::fputs("pages_bench: cannot prepare the scratch settings or load " QV_MAPS_DIR
                   "/moscow.qvn\n",
                   stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home);
    return 0;
}
