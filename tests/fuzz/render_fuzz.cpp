// libFuzzer target: any bytes as a map file, loaded, searched and painted at both scales.

#include <cstddef>
#include <cstdint>

#include "fuzz_map.h"
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_view.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qv::NetworkModel model;
    if (!qv::fuzzing::LoadFuzzedMap(data, size, model)) {
        return 0;
    }
    model.settings.showStationNames = true;
    model.settings.routeBlink = size % 2 == 0;
    const std::int32_t count = model.StationCount();
    if (count > 0) {
        model.departure = model.Stations().front();
        model.destination = model.Stations().back();
        model.hotStation = model.Stations()[static_cast<std::size_t>(count / 2)];
        qv::SilentRouteSearchFeedback feedback;
        qv::FindRoute(model, feedback);
    }
    qv::DeviceScreen screen(1);
    qv::GdiSurface surface(screen.Dc(), qv::ProgramModule());
    int counter = 1;
    qv::PaintScheme(model, qv::LOGFONTW{}, surface, true, counter);
    if (qv::ToggleZoom(model)) {
        qv::PanView(model, 37, -91);
        qv::PaintScheme(model, qv::LOGFONTW{}, surface, true, counter);
    }
    (void)qv::HitTest(model, 120, 160);
    return 0;
}
