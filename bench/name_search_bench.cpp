// One keystroke in the station picker's edit: finding the name a typed text means among every
// station of a shipped map, for texts that go through each reading in turn. The picker reads at
// most nine characters; the texts are that long, where every reading costs most.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/map_file.h"
#include "model/station_name_order.h"
#include "text/name_search.h"

namespace {

using namespace qv;

NameSearch PickerSearch(const char* map) {
    NetworkModel model;
    if (LoadMapFileAt(model, std::filesystem::path(QV_MAPS_DIR) / map, Settings{}) != 0) {
        std::fprintf(stderr, "cannot load %s\n", map);
        std::exit(1);
    }
    std::vector<std::u16string> names;
    for (const auto& line : model.Lines()) {
        for (const auto& station : line->stations) {
            if (station->IsStation()) {
                names.push_back(station->name);
            }
        }
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; });
    return NameSearch(std::move(names));
}

struct Typed {
    const char* map;
    std::u16string text;
};

// London has the most stations (440 rows), Moscow the most Cyrillic ones (337).
const Typed kTexts[] = {
    {"london.qvn", u"Zzzzzzzzz"},  // no reading finds anything: every step over every row
    {"london.qvn", u"Piccadill"},  // a letter extra: found at the last step
    {"london.qvn", u"Westminst"},  // as typed
    {"moscow.qvn", u"qwqwqwqwq"},  // nothing
    {"moscow.qvn", u"kievskaia"},  // Latin letters
    {"moscow.qvn", u"Киевсакя"},   // letters swapped: the last step
    {"moscow.qvn", u"shchyolko"},  // Latin letters, many spellings tried
};

void FindTypedName(benchmark::State& state) {
    const Typed& typed = kTexts[state.range(0)];
    const NameSearch search = PickerSearch(typed.map);
    for (auto _ : state) {
        benchmark::DoNotOptimize(search.Find(typed.text));
    }
    state.SetLabel(typed.map);
    state.counters["rows"] = static_cast<double>(search.Size());
}

}  // namespace

BENCHMARK(FindTypedName)
    ->DenseRange(0, static_cast<int>(std::size(kTexts)) - 1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
