// The scheme image build at scales 1 and 2 and one paint with a blinking route and a callout,
// on the shipped city map and on a generated network of 1,000 points; and the image build of the
// costliest maps the loader accepts (generated here), each checked against its time bound.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "generated_metro.h"
#include "model/map_file.h"
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_renderer.h"
#include "render/scheme_view.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"
#include "text/utf.h"

namespace {

using namespace qv;

std::shared_ptr<NetworkModel> CityMap() {
    auto model = std::make_shared<NetworkModel>();
    Settings settings;
    settings.showStationNames = true;
    if (LoadMapFile(*model, *Utf8ToUtf16(QV_MAPS_DIR "/zarechensk.qvn"), settings) != 0) {
        return nullptr;
    }
    return model;
}

// The generated metro squeezed onto the screen, drawn with the city map's widths.
std::shared_ptr<NetworkModel> GeneratedMap() {
    std::shared_ptr<NetworkModel> model = bench::MakeGeneratedMetro(1000, 60, 42);
    const auto squeeze = [](std::int32_t v) { return v * 3 / 10; };
    for (Station* point : model->Stations()) {
        point->x = squeeze(point->x);
        point->y = squeeze(point->y);
        point->labelText = point->name;
        point->labelX = point->x + 3;
        point->labelY = point->y - 2;
    }
    for (Transfer& transfer : model->transfers) {
        transfer = {squeeze(transfer.x1), squeeze(transfer.y1), squeeze(transfer.x2),
                    squeeze(transfer.y2), transfer.time};
    }
    model->originX = 120;
    model->originY = 160;
    model->lineWidth = 3;
    model->stationRadius = 3;
    model->outlineWidth = 1;
    model->zoomFactor = 2;
    for (const auto& line : model->Lines()) {
        line->lineWidth = 3;
        line->stationRadius = 3;
        line->outlineWidth = 1;
    }
    model->settings.showStationNames = true;
    model->BuildAdjacency();
    return model;
}

// The most points a map may hold, and about the most transfers a map file of the largest size
// the loader reads can list.
constexpr std::int32_t kMostPoints = 32767;
constexpr std::int32_t kMostTransfers = 3'000'000;
// Any map the loader accepts builds its image within this.
constexpr double kBuildBoundSeconds = 2.0;

// An empty map with the city maps' drawing values and one line of the given width.
std::shared_ptr<NetworkModel> EmptyMap(std::int32_t lineWidth, std::int32_t stationRadius) {
    auto model = std::make_shared<NetworkModel>();
    model->lineWidth = lineWidth;
    model->stationRadius = stationRadius;
    model->outlineWidth = 1;
    model->zoomFactor = 2;
    model->labelFontHeight = -8;
    model->settings.showStationNames = true;
    Line& line = model->AddLine(1, u"Зигзаг", 0x0000C0, false, kMostPoints, 2);
    line.lineWidth = lineWidth;
    line.stationRadius = stationRadius;
    line.outlineWidth = 1;
    return model;
}

std::shared_ptr<NetworkModel> Indexed(std::shared_ptr<NetworkModel> model) {
    model->BuildStationIndex();
    return model;
}

// One line of the most points, swinging from side to side of the image (or `reach` beyond
// both sides) and down it, of the given width.
std::shared_ptr<NetworkModel> ZigzagMap(std::int32_t lineWidth, std::int32_t reach) {
    auto model = EmptyMap(lineWidth, 3);
    Line& line = *model->Lines().front();
    for (std::int32_t i = 0; i < kMostPoints; ++i) {
        line.AddStation(
            {.name = u"Точка",
             .runTime = 1,
             .kind = kShapePointKind,
             .x = i % 2 == 0 ? -reach : kViewWidth + reach,
             .y = static_cast<std::int32_t>(std::int64_t{i} * kViewHeight / kMostPoints)});
    }
    return Indexed(std::move(model));
}

// The most points, all stations (with a label when asked), spread over the image; discs of the
// radius.
std::shared_ptr<NetworkModel> StationsMap(std::int32_t stationRadius, bool labelled) {
    auto model = EmptyMap(3, stationRadius);
    Line& line = *model->Lines().front();
    std::mt19937 random(7);
    for (std::int32_t i = 0; i < kMostPoints; ++i) {
        const std::int32_t x = static_cast<std::int32_t>(random() % kViewWidth);
        const std::int32_t y = static_cast<std::int32_t>(random() % kViewHeight);
        line.AddStation(
            {.name = u"Станция " + Utf8ToUtf16(std::to_string(i)).value_or(u""),
             .labelText =
                 labelled ? u"Станция " + Utf8ToUtf16(std::to_string(i)).value_or(u"") : u"",
             .labelAlign = 1 + i % 3,
             .runTime = 1,
             .kind = i % 5 == 0 ? kMarkedPointKind : kStationKind,
             .x = x,
             .y = y,
             .labelX = x + 4,
             .labelY = y - 2});
    }
    return Indexed(std::move(model));
}

// Two stations and the most transfers of the station radius, their ends spread over the image
// and `spread` around it, or all at one place when `spread` is 0.
std::shared_ptr<NetworkModel> TransfersMap(std::int32_t stationRadius, std::int32_t spread) {
    auto model = EmptyMap(3, stationRadius);
    Line& line = *model->Lines().front();
    line.AddStation({.name = u"А", .runTime = 1, .x = 10, .y = 10});
    line.AddStation({.name = u"Б", .runTime = 1, .x = 200, .y = 300});
    std::mt19937 random(11);
    const auto coordinate = [&](std::int32_t size) {
        if (spread == 0) {
            return size / 2;
        }
        return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(size + 2 * spread)) -
               spread;
    };
    model->transfers.reserve(kMostTransfers);
    for (std::int32_t i = 0; i < kMostTransfers; ++i) {
        model->transfers.push_back({coordinate(kViewWidth), coordinate(kViewHeight),
                                    coordinate(kViewWidth), coordinate(kViewHeight), 2});
    }
    return Indexed(std::move(model));
}

// The most transfers of a radius far larger than the image, their ends on a ring around the
// image's middle just too far to cover it: each end's disc covers part of the image, few repeat.
std::shared_ptr<NetworkModel> GrazingTransfersMap(std::int32_t stationRadius) {
    auto model = EmptyMap(3, stationRadius);
    Line& line = *model->Lines().front();
    line.AddStation({.name = u"А", .runTime = 1, .x = 10, .y = 10});
    line.AddStation({.name = u"Б", .runTime = 1, .x = 200, .y = 300});
    std::mt19937 random(13);
    std::uniform_real_distribution<double> angle(0, 2 * 3.14159265358979);
    std::uniform_real_distribution<double> beyond(stationRadius + 40.0, stationRadius + 160.0);
    const auto end = [&] {
        const double a = angle(random);
        const double d = beyond(random);
        return std::pair{static_cast<std::int32_t>(kViewWidth / 2 + d * std::cos(a)),
                         static_cast<std::int32_t>(kViewHeight / 2 + d * std::sin(a))};
    };
    model->transfers.reserve(kMostTransfers);
    for (std::int32_t i = 0; i < kMostTransfers; ++i) {
        const auto [x1, y1] = end();
        const auto [x2, y2] = end();
        model->transfers.push_back({x1, y1, x2, y2, 2});
    }
    return Indexed(std::move(model));
}

void FindSomeRoute(NetworkModel& model) {
    model.departure = model.Stations()[0];
    model.destination =
        model.Stations()[static_cast<std::size_t>(model.Lines()[1]->firstStationIndex + 5)];
    SilentRouteSearchFeedback feedback;
    FindRoute(model, feedback);
}

void Build(benchmark::State& state, std::shared_ptr<NetworkModel> model, bool zoomed) {
    if (!model) {
        state.SkipWithError("map not found");
        return;
    }
    model->zoomed = zoomed;
    DeviceScreen screen(1);
    GdiSurface surface(screen.Dc(), ProgramModule());
    for (auto _ : state) {
        DiscardSchemeImage(*model);
        BuildSchemeImage(*model, LOGFONTW{}, surface);
    }
}

// The ladder of 1,000 lines of the route benchmark, fitted onto the screen and labelled: what
// the main window builds again after the station picker closes.
std::shared_ptr<NetworkModel> LadderMap() {
    std::shared_ptr<NetworkModel> model = bench::MakeLadderMetro(1000, 12);
    const auto fitX = [](std::int32_t x) { return 10 + x * 2; };
    const auto fitY = [](std::int32_t y) { return y * 32 / 100; };
    for (Station* point : model->Stations()) {
        point->x = fitX(point->x);
        point->y = fitY(point->y);
        point->labelText = point->name;
        point->labelX = point->x + 3;
        point->labelY = point->y - 2;
    }
    for (Transfer& transfer : model->transfers) {
        transfer = {fitX(transfer.x1), fitY(transfer.y1), fitX(transfer.x2), fitY(transfer.y2),
                    transfer.time};
    }
    model->lineWidth = 3;
    model->stationRadius = 3;
    model->outlineWidth = 1;
    model->BuildAdjacency();
    return model;
}

// A map made the first time a benchmark asks for it, so that a filtered run makes only its own.
class LazyMap {
  public:
    explicit LazyMap(std::function<std::shared_ptr<NetworkModel>()> make)
        : make_(std::move(make)) {}
    NetworkModel& Get() {
        if (!model_) {
            model_ = make_();
        }
        return *model_;
    }

  private:
    std::function<std::shared_ptr<NetworkModel>()> make_;
    std::shared_ptr<NetworkModel> model_;
};

// An image build whose every run must stay within the bound.
void BoundedBuild(benchmark::State& state, std::shared_ptr<LazyMap> map, bool zoomed) {
    NetworkModel* model = &map->Get();
    model->zoomed = zoomed;
    DeviceScreen screen(1);
    GdiSurface surface(screen.Dc(), ProgramModule());
    double slowest = 0;
    for (auto _ : state) {
        DiscardSchemeImage(*model);
        const auto start = std::chrono::steady_clock::now();
        BuildSchemeImage(*model, LOGFONTW{}, surface);
        slowest = std::max(
            slowest,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["slowest_s"] = slowest;
    if (slowest > kBuildBoundSeconds) {
        const std::string message =
            "an image build took " + std::to_string(slowest) + " s, over its bound";
        state.SkipWithError(message.c_str());
    }
}

void Paint(benchmark::State& state, std::shared_ptr<NetworkModel> model) {
    if (!model) {
        state.SkipWithError("map not found");
        return;
    }
    FindSomeRoute(*model);
    model->hotStation = model->Stations()[3];
    DeviceScreen screen(1);
    GdiSurface surface(screen.Dc(), ProgramModule());
    int counter = 1;
    PaintScheme(*model, LOGFONTW{}, surface, true, counter);  // builds the image once
    for (auto _ : state) {
        counter = 2;
        PaintScheme(*model, LOGFONTW{}, surface, true, counter);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto city = CityMap();
    const auto generated = GeneratedMap();
    const auto ladder = LadderMap();
    for (const bool zoomed : {false, true}) {
        const std::string scale = zoomed ? "/scale2" : "/scale1";
        benchmark::RegisterBenchmark(("BuildSchemeImage/city" + scale).c_str(), Build, city, zoomed)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BuildSchemeImage/gen1000" + scale).c_str(), Build, generated,
                                     zoomed)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BuildSchemeImage/ladder1000" + scale).c_str(), Build, ladder,
                                     zoomed)
            ->Unit(benchmark::kMillisecond);
    }
    const std::pair<const char*, std::function<std::shared_ptr<NetworkModel>()>> worst[] = {
        {"zigzag-w50", [] { return ZigzagMap(50, 0); }},
        {"zigzag-widest", [] { return ZigzagMap(std::numeric_limits<std::int32_t>::max(), 0); }},
        {"zigzag-w50-crossing-from-afar", [] { return ZigzagMap(50, 100'000'000); }},
        {"labelled-stations", [] { return StationsMap(3, true); }},
        {"stations-r1000", [] { return StationsMap(1000, false); }},
        {"stations-r40", [] { return StationsMap(40, false); }},
        {"transfers-r1000-one-place", [] { return TransfersMap(1000, 0); }},
        {"transfers-r1000-spread", [] { return TransfersMap(1000, 1000); }},
        {"transfers-r40-spread", [] { return TransfersMap(40, 40); }},
        {"transfers-r1000-grazing", [] { return GrazingTransfersMap(1000); }},
    };
    for (const auto& [name, make] : worst) {
        const auto map = std::make_shared<LazyMap>(make);
        for (const bool zoomed : {false, true}) {
            const std::string scale = zoomed ? "/scale2" : "/scale1";
            benchmark::RegisterBenchmark(
                ("BuildSchemeImage/worst/" + std::string(name) + scale).c_str(), BoundedBuild, map,
                zoomed)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("PaintScheme/city/blinking-route-callout", Paint, CityMap())
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PaintScheme/gen1000/blinking-route-callout", Paint,
                                 GeneratedMap())
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
