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
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_renderer.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"
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

// A map of 1,000 lines of 12 stations, each line joined to the next by two transfers but the
// last, which stands apart: the saved route from the first station to the last has no route.
constexpr std::int32_t kLadderLines = 1000;
constexpr std::int32_t kLadderStations = 12;

std::u16string LadderMapText() {
    std::string text = "[NAME]\r\nЛестница;" + std::to_string(kLadderLines) + ";" +
                       std::to_string(2 * (kLadderLines - 2)) +
                       ";2;2;\r\n[MAP]\r\n0;0;3;4;1;FF00FFh;\r\n[LINES]\r\n";
    for (std::int32_t line = 1; line <= kLadderLines; ++line) {
        text += std::to_string(line) + ";Линия " + std::to_string(line) + ";0080FFh;0;" +
                std::to_string(kLadderStations) + ";2;\r\n";
    }
    text += "[STATION]\r\n";
    for (std::int32_t line = 0; line < kLadderLines; ++line) {
        for (std::int32_t k = 0; k < kLadderStations; ++k) {
            text += std::to_string(line + 1) + ";" + std::to_string(k + 1) + ";S;Станция " +
                    std::to_string(line * kLadderStations + k) + ";" + std::to_string(10 * k) +
                    ";" + std::to_string(10 * line) + ";2;\r\n";
        }
    }
    text += "[CROSS]\r\n";
    for (std::int32_t line = 0; line + 2 < kLadderLines; ++line) {
        for (const std::int32_t k : {2, kLadderStations - 3}) {
            text += "0;" + std::to_string(10 * k) + ";" + std::to_string(10 * line) + ";" +
                    std::to_string(10 * k) + ";" + std::to_string(10 * (line + 1)) + ";3;\r\n";
        }
    }
    text += "[TABLETTERS]\r\n1;\r\nС\r\n";
    return u"\uFEFF" + *Utf8ToUtf16(text);
}

bool WriteLadderMap(const std::filesystem::path& file) {
    const std::u16string text = LadderMapText();
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        return false;
    }
    bool written = true;
    for (const char16_t unit : text) {
        written =
            written && std::fputc(unit & 0xFF, out) != EOF && std::fputc(unit >> 8, out) != EOF;
    }
    return std::fclose(out) == 0 && written;
}

// Saves settings that name the map and the saved route, at the highest transfer limit the
// settings page allows.
bool RememberRoute(const std::string& map, std::int32_t departure, std::int32_t destination) {
    Settings settings;
    settings.mapPath = *Utf8ToUtf16(map);
    settings.saveRoute = true;
    settings.departureIndex = departure;
    settings.destinationIndex = destination;
    settings.maxTransfers = 99;
    return SaveSettings(settings) == 1;
}

std::string LadderMapPath() {
    return (std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "ladder.qvn").string();
}

// On the map of 1,000 lines the saved route has none, so a start shows "Маршрут не найден" and so
// does every station picker's closing: a start that closes the message and ends, and the same with
// the picker opened and closed with Escape (its closing saves the settings, searches again and
// shows the message again).
void LadderPicker(benchmark::State& state, bool withPicker) {
    if (!WriteLadderMap(LadderMapPath()) ||
        !RememberRoute(LadderMapPath(), 0, kLadderLines * kLadderStations - 1)) {
        state.SkipWithError("cannot write the map or the settings");
        return;
    }
    const auto steps = Steps(withPicker ? "key return\ncommand ID_STATION_LIST\nkey escape\n"
                                          "key return\nkey ctrl+q\n"
                                        : "key return\nkey ctrl+q\n");
    for (auto _ : state) {
        if (!steps || !Run(*steps, nullptr)) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    // The other runs start with Moscow again.
    if (!PrepareHome(std::getenv("XDG_CONFIG_HOME"))) {
        state.SkipWithError("cannot restore the settings");
    }
}

// What the main window does once the picker has returned on that map, step by step in one
// process, without the message: the settings saved, the route searched again (the adjacency
// rebuilt, then the search), the scheme image built again for the next paint.
void AfterPickerCloses(benchmark::State& state, int steps) {
    NetworkModel model;
    Settings settings;
    settings.mapPath = *Utf8ToUtf16(LadderMapPath());
    settings.saveRoute = true;
    settings.departureIndex = 0;
    settings.destinationIndex = kLadderLines * kLadderStations - 1;
    settings.maxTransfers = 99;
    if (!WriteLadderMap(LadderMapPath()) || LoadMapFile(model, settings.mapPath, settings) != 0) {
        state.SkipWithError("cannot write or load the map");
        return;
    }
    model.RestoreSavedStations();
    DeviceScreen screen(1);
    GdiSurface surface(screen.Dc(), ProgramModule());
    SilentRouteSearchFeedback feedback;
    for (auto _ : state) {
        if (steps & 1) {
            benchmark::DoNotOptimize(SaveSettings(settings));
        }
        if (steps & 2) {
            FindRoute(model, feedback);
        }
        if (steps & 4) {
            DiscardSchemeImage(model);
            BuildSchemeImage(model, LOGFONTW{}, surface);
        }
    }
    if (!PrepareHome(std::getenv("XDG_CONFIG_HOME"))) {
        state.SkipWithError("cannot restore the settings");
    }
}

BENCHMARK_CAPTURE(AfterPickerCloses, All, 7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(AfterPickerCloses, SaveSettings, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(AfterPickerCloses, FindRoute, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(AfterPickerCloses, BuildSchemeImage, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_CAPTURE(LadderPicker, StartNoRouteAndEnd, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LadderPicker, StationPickerClosedNoRoute, true)->Unit(benchmark::kMillisecond);

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
