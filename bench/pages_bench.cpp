// The whole program on the headless host, on the largest shipped map with a saved route that
// changes lines: a start that shows the scheme and ends, and the same start with one page opened
// and closed, so that a page's own cost is the difference between the two.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
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

void RunScript(benchmark::State& state, std::string_view script) {
    const auto parsed = tools::ParseScript(script);
    const auto* steps = std::get_if<std::vector<tools::ScriptStep>>(&parsed);
    if (!steps) {
        state.SkipWithError("the script does not parse");
        return;
    }
    for (auto _ : state) {
        tools::ScriptHost host(*steps, {}, 1, stdout);
        if (RunProgram(host, ProgramModule()) != 0 || host.Failed()) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

void BM_StartShowAndEnd(benchmark::State& state) {
    RunScript(state, "key ctrl+q\n");
}
BENCHMARK(BM_StartShowAndEnd)->Unit(benchmark::kMillisecond);

void BM_StationPicker(benchmark::State& state) {
    RunScript(state, "command ID_STATION_LIST\nkey escape\nkey ctrl+q\n");
}
BENCHMARK(BM_StationPicker)->Unit(benchmark::kMillisecond);

void BM_RouteDetails(benchmark::State& state) {
    RunScript(state, "command ID_ROUTE_INFO\nkey escape\nkey ctrl+q\n");
}
BENCHMARK(BM_RouteDetails)->Unit(benchmark::kMillisecond);

void BM_Settings(benchmark::State& state) {
    RunScript(state, "command ID_SETTINGS\nkey escape\nkey ctrl+q\n");
}
BENCHMARK(BM_Settings)->Unit(benchmark::kMillisecond);

void BM_About(benchmark::State& state) {
    RunScript(state, "command ID_ABOUT\nkey escape\nkey ctrl+q\n");
}
BENCHMARK(BM_About)->Unit(benchmark::kMillisecond);

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
