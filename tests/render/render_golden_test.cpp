// The shipped city map painted as the program shows it, compared with the pictures under
// tests/data/render (rewrite them with QV_UPDATE_GOLDEN=1 after a deliberate change, and look).

#include <gtest/gtest.h>

#include <string>

#include "golden_picture.h"
#include "model/map_file.h"
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_view.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"
#include "text/utf.h"

namespace qv {
namespace {

struct Scene {
    const char* name;
    bool zoom = false;
    bool labels = false;
    bool route = false;
    bool staticRoute = false;
    int hotStation = -1;
    POINT pan{};
};

void ExpectScene(const Scene& scene) {
    Settings settings;
    settings.showStationNames = scene.labels;
    settings.routeBlink = !scene.staticRoute;
    settings.routeShowStations = false;
    NetworkModel model;
    ASSERT_EQ(LoadMapFile(model, *Utf8ToUtf16(QV_MAPS_DIR "/zarechensk.qvn"), settings), 0);
    if (scene.route) {
        model.departure = model.Stations()[0];
        model.destination = model.Stations()[60];
        SilentRouteSearchFeedback feedback;
        FindRoute(model, feedback);
        ASSERT_FALSE(model.route.empty());
    }
    if (scene.zoom) {
        ASSERT_TRUE(ToggleZoom(model));
        PanView(model, scene.pan.x, scene.pan.y);
    }
    if (scene.hotStation >= 0) {
        model.hotStation = model.Stations()[static_cast<std::size_t>(scene.hotStation)];
    }
    DeviceScreen screen(1);
    GdiSurface surface(screen.Dc(), ProgramModule());
    int counter = 1;
    PaintScheme(model, LOGFONTW{}, surface, true, counter);
    testing::ExpectGoldenPicture(screen.Pixels(),
                                 std::string(QV_TEST_DATA_DIR) + "/render/" + scene.name + ".png");
}

TEST(RenderGolden, CityMapScenes) {
    ExpectScene({.name = "city-scale1"});
    ExpectScene({.name = "city-zoom-panned", .zoom = true, .pan = {60, -80}});
    ExpectScene({.name = "city-zoom-labels", .zoom = true, .labels = true});
    ExpectScene({.name = "city-route-static", .route = true, .staticRoute = true});
    ExpectScene({.name = "city-route-blink-on", .zoom = true, .route = true});
    ExpectScene({.name = "city-callout", .hotStation = 40});
}

}  // namespace
}  // namespace qv
