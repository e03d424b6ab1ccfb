// One route search on the shipped maps and on generated networks, by the fast finder and by the
// plain transcription of the search rules kept in the tests.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "allocation_meter.h"
#include "generated_metro.h"
#include "model/map_file.h"
#include "route/route_finder.h"
#include "route_oracle.h"
#include "text/utf.h"

namespace {

using qv::NetworkModel;
using Search = std::function<std::vector<std::int32_t>(const NetworkModel&, std::int32_t, std::int32_t)>;

struct Ends {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

// The first station of the first line and the last station of the second (or only) line.
Ends FarEnds(const NetworkModel& model) {
    const auto& lines = model.Lines();
    const qv::Line& first = *lines.front();
    const qv::Line& second = *lines[lines.size() > 1 ? 1 : 0];
    Ends ends{first.firstStationIndex, second.firstStationIndex + second.StationCount() - 1};
    const auto stations = model.Stations();
    while (!stations[static_cast<std::size_t>(ends.from)]->IsStation() && ends.from < ends.to) {
        ++ends.from;
    }
    while (!stations[static_cast<std::size_t>(ends.to)]->IsStation() && ends.to > ends.from) {
        --ends.to;
    }
    return ends;
}

void RunSearch(benchmark::State& state, std::shared_ptr<NetworkModel> model, Search search) {
    const Ends ends = FarEnds(*model);
    const std::size_t before = qv::bench::AllocationMeter::Current();
    qv::bench::AllocationMeter::ResetPeak();
    const std::vector<std::int32_t> route = search(*model, ends.from, ends.to);
    state.counters["peak_MB"] = static_cast<double>(qv::bench::AllocationMeter::Peak() - before) / 1e6;
    state.counters["route_points"] = static_cast<double>(route.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(search(*model, ends.from, ends.to));
    }
}

std::shared_ptr<NetworkModel> LoadShipped(const std::string& file) {
    auto model = std::make_shared<NetworkModel>();
    const std::string path = std::string(QV_MAPS_DIR) + "/" + file;
    if (!std::filesystem::exists(path) || qv::LoadMapFile(*model, *qv::Utf8ToUtf16(path), qv::Settings{}) != 0) {
        return nullptr;
    }
    return model;
}

void Register(const std::string& name, const std::shared_ptr<NetworkModel>& model, bool withOracle) {
    benchmark::RegisterBenchmark(("finder/" + name).c_str(), RunSearch, model, Search(qv::SearchRoute))
        ->Unit(benchmark::kMillisecond);
    if (withOracle) {
        benchmark::RegisterBenchmark(("oracle/" + name).c_str(), RunSearch, model,
                                     Search([](const NetworkModel& m, std::int32_t a, std::int32_t b) {
                                         return qv::testing::OracleSearchRoute(m, a, b);
                                     }))
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.05);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const std::string file : {"example.qvn", "zarechensk.qvn", "moscow.qvn", "london.qvn"}) {
        if (auto model = LoadShipped(file)) {
            for (const std::int32_t algorithm : {0, 1}) {
                model = LoadShipped(file);
                model->settings.algorithm = algorithm;
                Register(file + "/alg" + std::to_string(algorithm), model, true);
            }
        }
    }
    for (const std::int32_t points : {100, 300, 1000}) {
        for (const std::int32_t transfers : {5, 20, 60}) {
            for (const std::int32_t algorithm : {0, 1}) {
                for (const std::int32_t maxTransfers : {3, 10}) {
                    std::shared_ptr<NetworkModel> model = qv::bench::MakeGeneratedMetro(points, transfers, 42);
                    model->settings.algorithm = algorithm;
                    model->settings.maxTransfers = maxTransfers;
                    const std::string name = "gen" + std::to_string(points) + "/t" + std::to_string(transfers) +
                                             "/alg" + std::to_string(algorithm) + "/max" + std::to_string(maxTransfers);
                    Register(name, model, true);
                }
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
