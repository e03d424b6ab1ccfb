// quorvane-render MAP OUT.png [--scale K] [--zoom [--centre]] [--view X Y] [--labels]
//                 [--route FROM TO] [--static-route] [--blink-off] [--callout POINT]
// Paints the scheme of a map as the program shows it and writes the 240 x 320 screen as PNG.
// K is the device scale (1 to 3); FROM, TO and POINT are station-index numbers, -1 for none.
// --centre prints the view the zoom command chooses and where the route's ends land in it.

#include <cstdio>
#include <string>
#include <string_view>

#include "model/map_file.h"
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_view.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"
#include "text/decimal.h"
#include "text/utf.h"

namespace {

using namespace qv;

struct Options {
    std::string map;
    std::string output;
    int scale = 1;
    bool zoom = false;
    bool centre = false;
    bool view = false;
    int viewX = 0;
    int viewY = 0;
    bool labels = false;
    int from = -1;
    int to = -1;
    bool staticRoute = false;
    bool blinkOn = true;
    int callout = -1;
};

bool Number(const char* text, int& out) {
    const std::string_view view(text);
    const std::optional<std::int32_t> value =
        ParseDecimal(std::u16string(view.begin(), view.end()));
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

bool Parse(int argc, char** argv, Options& options) {
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool one = i + 1 < argc;
        const bool two = i + 2 < argc;
        if (arg == "--scale" && one) {
            if (!Number(argv[++i], options.scale))
                return false;
        } else if (arg == "--zoom") {
            options.zoom = true;
        } else if (arg == "--centre") {
            options.centre = true;
        } else if (arg == "--view" && two) {
            options.view = true;
            if (!Number(argv[++i], options.viewX) || !Number(argv[++i], options.viewY))
                return false;
        } else if (arg == "--labels") {
            options.labels = true;
        } else if (arg == "--route" && two) {
            if (!Number(argv[++i], options.from) || !Number(argv[++i], options.to))
                return false;
        } else if (arg == "--static-route") {
            options.staticRoute = true;
        } else if (arg == "--blink-off") {
            options.blinkOn = false;
        } else if (arg == "--callout" && one) {
            if (!Number(argv[++i], options.callout))
                return false;
        } else if (positional == 0) {
            options.map = arg;
            ++positional;
        } else if (positional == 1) {
            options.output = arg;
            ++positional;
        } else {
            return false;
        }
    }
    // The centred view is the one the zoom command chooses: a view given by hand is another.
    const bool centreFits = !options.centre || (options.zoom && !options.view);
    return positional == 2 && options.scale >= 1 && options.scale <= 3 && centreFits;
}

Station* PointAt(const NetworkModel& model, int index) {
    return index >= 0 && index < model.StationCount()
               ? model.Stations()[static_cast<std::size_t>(index)]
               : nullptr;
}

// One end of the route and the window pixel its station lands on.
void PrintEnd(const NetworkModel& model, const char* role, const Station* station) {
    if (!station) {
        return;
    }
    const std::int64_t s = CurrentScale(model);
    std::printf("%s: %d %s at %lld %lld\n", role, station->index,
                Utf16ToUtf8(station->name).c_str(),
                static_cast<long long>(s * station->x + model.originX + model.viewX),
                static_cast<long long>(s * station->y + model.originY + model.viewY));
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fputs(
            "usage: quorvane-render MAP OUT.png [--scale K] [--zoom [--centre]] [--view X Y] "
            "[--labels] [--route FROM TO] [--static-route] [--blink-off] [--callout POINT]\n",
            stderr);
        return 2;
    }
    Settings settings;
    settings.showStationNames = options.labels;
    settings.routeBlink = !options.staticRoute;
    NetworkModel model;
    MapError error;
    const std::optional<std::u16string> path = Utf8ToUtf16(options.map);
    if (!path || LoadMapFile(model, *path, settings, &error) != 0) {
        std::fprintf(stderr, "%s:%d: error: %s\n", options.map.c_str(), error.line,
                     error.reason.c_str());
        return 2;
    }
    for (const int index : {options.from, options.to, options.callout}) {
        if (index < -1 || index >= model.StationCount()) {
            std::fprintf(stderr, "%s: no point %d (the map has %d)\n", options.map.c_str(), index,
                         model.StationCount());
            return 2;
        }
    }
    if (options.from >= 0 || options.to >= 0) {
        model.departure = PointAt(model, options.from);
        model.destination = PointAt(model, options.to);
        if (model.departure && model.destination) {
            SilentRouteSearchFeedback feedback;
            FindRoute(model, feedback);
        }
    }
    if (options.zoom && !ToggleZoom(model) && options.centre) {
        std::fprintf(stderr, "%s: the map offers no zoom\n", options.map.c_str());
        return 2;
    }
    if (options.centre) {
        std::printf("scale %d, view %d %d\n", CurrentScale(model), model.viewX, model.viewY);
        PrintEnd(model, "departure", model.departure);
        PrintEnd(model, "destination", model.destination);
    }
    if (options.view) {
        model.viewX = options.viewX;
        model.viewY = options.viewY;
    }
    model.hotStation = PointAt(model, options.callout);
    DeviceScreen screen(options.scale);
    GdiSurface surface(screen.Dc(), ProgramModule());
    int routeLabelCounter = 1;
    PaintScheme(model, LOGFONTW{}, surface, options.blinkOn, routeLabelCounter);
    if (!screen.Pixels().WritePng(options.output.c_str())) {
        std::fprintf(stderr, "cannot write %s\n", options.output.c_str());
        return 1;
    }
    return 0;
}
