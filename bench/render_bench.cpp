// The scheme image build at scales 1 and 2 and one paint with a blinking route and a callout,
// on the shipped city map and on a generated network of 1,000 points.

#include <benchmark/benchmark.h>

#include <memory>
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
    for (const bool zoomed : {false, true}) {
        const std::string scale = zoomed ? "/scale2" : "/scale1";
        benchmark::RegisterBenchmark(("BuildSchemeImage/city" + scale).c_str(), Build, city, zoomed)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BuildSchemeImage/gen1000" + scale).c_str(), Build, generated,
                                     zoomed)
            ->Unit(benchmark::kMillisecond);
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
