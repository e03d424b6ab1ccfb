// One route search on the shipped maps and on generated networks, by the fast finder and by the
// plain transcription of the search rules kept in the tests.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "allocation_meter.h"
#include "generated_metro.h"
#include "model/map_file.h"
#include "route/route_finder.h"
#include "route_oracle.h"
#include "text/utf.h"

namespace {

using qv::NetworkModel;
using Search =
    std::function<std::vector<std::int32_t>(const NetworkModel&, std::int32_t, std::int32_t)>;

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

// The first stations of these names, or nothing.
std::optional<Ends> NamedEnds(const NetworkModel& model, std::u16string_view from,
                              std::u16string_view to) {
    const auto find = [&](std::u16string_view name) -> std::int32_t {
        for (const qv::Station* station : model.Stations()) {
            if (station->IsStation() && station->name == name) {
                return station->index;
            }
        }
        return -1;
    };
    const Ends ends{find(from), find(to)};
    return ends.from < 0 || ends.to < 0 ? std::nullopt : std::optional<Ends>(ends);
}

void RunSearch(benchmark::State& state, std::shared_ptr<NetworkModel> model, Ends ends,
               Search search) {
    // Whether the enumeration's bounds stop it, so that the exact search runs too.
    state.counters["cut_short"] = qv::EnumerateRoute(*model, ends.from, ends.to).cutShort ? 1 : 0;
    const std::size_t before = qv::bench::AllocationMeter::Current();
    qv::bench::AllocationMeter::ResetPeak();
    const std::vector<std::int32_t> route = search(*model, ends.from, ends.to);
    state.counters["peak_MB"] =
        static_cast<double>(qv::bench::AllocationMeter::Peak() - before) / 1e6;
    state.counters["route_points"] = static_cast<double>(route.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(search(*model, ends.from, ends.to));
    }
}

std::shared_ptr<NetworkModel> LoadShipped(const std::string& file) {
    auto model = std::make_shared<NetworkModel>();
    const std::string path = std::string(QV_MAPS_DIR) + "/" + file;
    if (!std::filesystem::exists(path) ||
        qv::LoadMapFile(*model, *qv::Utf8ToUtf16(path), qv::Settings{}) != 0) {
        return nullptr;
    }
    return model;
}

void Register(const std::string& name, const std::shared_ptr<NetworkModel>& model, bool withOracle,
              std::optional<Ends> ends = std::nullopt) {
    const Ends chosen = ends.value_or(FarEnds(*model));
    benchmark::RegisterBenchmark(("finder/" + name).c_str(), RunSearch, model, chosen,
                                 Search([](const NetworkModel& m, std::int32_t a, std::int32_t b) {
                                     return qv::SearchRoute(m, a, b);
                                 }))
        ->Unit(benchmark::kMillisecond);
    if (withOracle) {
        benchmark::RegisterBenchmark(
            ("oracle/" + name).c_str(), RunSearch, model, chosen,
            Search([](const NetworkModel& m, std::int32_t a, std::int32_t b) {
                return qv::testing::OracleSearchRoute(m, a, b);
            }))
            ->Unit(benchmark::kMillisecond)
            // Several runs: one run's time swings with the heap and the machine's load.
            ->MinTime(0.5);
    }
}

// The exact search alone, as it runs after a cut enumeration.
void RegisterExact(const std::string& name, const std::shared_ptr<NetworkModel>& model, Ends ends) {
    benchmark::RegisterBenchmark(
        ("exact/" + name).c_str(), RunSearch, model, ends,
        Search([](const NetworkModel& m, std::int32_t a, std::int32_t b) {
            const qv::RouteRules rules{.algorithm = m.settings.algorithm,
                                       .maxTransfers = m.settings.maxTransfers,
                                       .maxLength = qv::MaxPathLength(m)};
            return qv::SearchBestRoute(qv::SearchGraph(m), rules, a, b).points;
        }))
        ->Unit(benchmark::kMillisecond);
}

// The search as it ran before the enumeration could end early: the whole enumeration, then the
// exact search for a better route wherever the enumeration was cut short.
void RegisterAsBefore(const std::string& name, const std::shared_ptr<NetworkModel>& model,
                      Ends ends) {
    benchmark::RegisterBenchmark(
        ("before/" + name).c_str(), RunSearch, model, ends,
        Search([](const NetworkModel& m, std::int32_t a, std::int32_t b) {
            qv::EnumeratedRoute enumerated = qv::EnumerateRoute(m, a, b);
            if (!enumerated.cutShort) {
                return enumerated.route.points;
            }
            const qv::RouteRules rules{.algorithm = m.settings.algorithm,
                                       .maxTransfers = m.settings.maxTransfers,
                                       .maxLength = qv::MaxPathLength(m)};
            const bool chosen = !enumerated.route.points.empty();
            qv::ScoredRoute best = qv::SearchBestRoute(
                qv::SearchGraph(m), rules, a, b,
                chosen ? std::optional<qv::RouteScore>(enumerated.route.score) : std::nullopt);
            return best.points.empty() ? enumerated.route.points : best.points;
        }))
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process, so every case finds the heap's pages already there
    // instead of some cases inheriting them from a larger case before and others faulting them in.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    for (const std::string file : {"example.qvn", "zarechensk.qvn", "moscow.qvn", "london.qvn"}) {
        if (auto model = LoadShipped(file)) {
            for (const std::int32_t algorithm : {0, 1}) {
                model = LoadShipped(file);
                model->settings.algorithm = algorithm;
                Register(file + "/alg" + std::to_string(algorithm), model, true);
            }
        }
    }
    // Trips where the enumeration is cut short and the exact search gives the route.
    const std::pair<std::string, std::pair<std::u16string, std::u16string>> cutTrips[] = {
        {"london.qvn", {u"Baker Street", u"Chesham"}},
        {"london.qvn", {u"Upminster", u"Chesham"}},
        {"moscow.qvn", {u"Лобня", u"Подольск"}},
    };
    for (const auto& [file, trip] : cutTrips) {
        for (const std::int32_t algorithm : {0, 1}) {
            for (const std::int32_t maxTransfers : {3, 10}) {
                std::shared_ptr<NetworkModel> model = LoadShipped(file);
                if (!model) {
                    continue;
                }
                model->settings.algorithm = algorithm;
                model->settings.maxTransfers = maxTransfers;
                model->BuildAdjacency();
                const std::string name =
                    file + "/" + qv::Utf16ToUtf8(trip.first) + "-" + qv::Utf16ToUtf8(trip.second) +
                    "/alg" + std::to_string(algorithm) + "/max" + std::to_string(maxTransfers);
                const std::optional<Ends> ends = NamedEnds(*model, trip.first, trip.second);
                Register(name, model, true, ends);
                RegisterExact(name, model, ends.value_or(FarEnds(*model)));
            }
        }
    }
    // The largest maps the loader accepts: a 127 x 127 grid holds 32,258 points; corner to corner.
    for (const std::int32_t algorithm : {0, 1}) {
        for (const std::int32_t maxTransfers : {3, 10, 99999}) {
            std::shared_ptr<NetworkModel> model = qv::bench::MakeGridMetro(127, 127);
            model->settings.algorithm = algorithm;
            model->settings.maxTransfers = maxTransfers;
            const Ends corners{0, model->StationCount() - 1};
            const std::string name =
                "grid127/alg" + std::to_string(algorithm) + "/max" + std::to_string(maxTransfers);
            Register(name, model, false, corners);
            RegisterExact(name, model, corners);
            RegisterAsBefore(name, model, corners);
        }
    }
    // A map of 1,000 lines where no route exists: the destination on a line no transfer reaches
    // (at the highest transfer limit the settings page allows), or across more lines than the
    // transfer limit allows. `FindRoute` is what the main window
    // runs when the station picker closes: the adjacency rebuilt, then the search.
    for (const auto& [trip, maxTransfers] :
         {std::pair<std::string, std::int32_t>{"apart", 99}, {"over-limit", 3}}) {
        std::shared_ptr<NetworkModel> model = qv::bench::MakeLadderMetro(1000, 12);
        model->settings.maxTransfers = maxTransfers;
        const auto& lines = model->Lines();
        const qv::Line& last = *lines[trip == "apart" ? lines.size() - 1 : lines.size() - 2];
        const Ends ends{0, last.firstStationIndex + last.StationCount() - 1};
        const std::string name = "lines1000/" + trip;
        Register(name, model, false, ends);
        RegisterAsBefore(name, model, ends);
        benchmark::RegisterBenchmark(
            ("FindRoute/" + name).c_str(), RunSearch, model, ends,
            Search([model](const NetworkModel&, std::int32_t a, std::int32_t b) {
                NetworkModel& searched = *model;
                searched.departure = searched.Stations()[static_cast<std::size_t>(a)];
                searched.destination = searched.Stations()[static_cast<std::size_t>(b)];
                qv::SilentRouteSearchFeedback silent;
                qv::FindRoute(searched, silent);
                std::vector<std::int32_t> route;
                for (const qv::Station* point : searched.route) {
                    route.push_back(point->index);
                }
                return route;
            }))
            ->Unit(benchmark::kMillisecond);
    }
    for (const std::int32_t points : {100, 300, 1000}) {
        for (const std::int32_t transfers : {5, 20, 60}) {
            for (const std::int32_t algorithm : {0, 1}) {
                for (const std::int32_t maxTransfers : {3, 10}) {
                    std::shared_ptr<NetworkModel> model =
                        qv::bench::MakeGeneratedMetro(points, transfers, 42);
                    model->settings.algorithm = algorithm;
                    model->settings.maxTransfers = maxTransfers;
                    const std::string name =
                        "gen" + std::to_string(points) + "/t" + std::to_string(transfers) + "/alg" +
                        std::to_string(algorithm) + "/max" + std::to_string(maxTransfers);
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
