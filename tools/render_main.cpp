// quorvane-render [--scale K] [--zoom [--centre]] [--view X Y] [--labels] [--route FROM TO]
//                 [--static-route] [--blink-off] [--callout POINT] [--] MAP OUT.png
// Paints the scheme of a map as the program shows it and writes the 240 x 320 screen as PNG.
// K is the device scale (1 to 3); FROM, TO and POINT are station-index numbers, -1 for none.
// --centre prints the view the zoom command chooses and where the route's ends land in it.

#include <cstdio>
#include <string>
#include <string_view>

#include "command_line.h"
#include "map_argument.h"
#include "model/map_file.h"
#include "platform/host/device_screen.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_view.h"
#include "resources/program_resources.h"
#include "route/route_finder.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

using namespace qv;
using qv::tools::CommandLine;
using qv::tools::UsageError;

constexpr qv::tools::OptionRule kOptions[] = {
    {"--scale", 1}, {"--zoom", 0},         {"--centre", 0},    {"--view", 2},   {"--labels", 0},
    {"--route", 2}, {"--static-route", 0}, {"--blink-off", 0}, {"--callout", 1}};
constexpr qv::tools::ToolSyntax kSyntax{
    "quorvane-render",
    "Usage: quorvane-render [--scale K] [--zoom [--centre]] [--view X Y] [--labels] "
    "[--route FROM TO] [--static-route] [--blink-off] [--callout POINT] [--] MAP OUT.png\n"
    "Paints a map as the program shows it and writes the 240 x 320 screen (K times finer at\n"
    "device scale K) as a PNG picture. FROM, TO and POINT are station-index numbers, -1 for\n"
    "none. --zoom --centre also prints the view the zoom command chooses for the route's ends.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-render --scale 2 /usr/share/quorvane/maps/zarechensk.qvn scheme.png\n"
    "  $ quorvane-render --route 0 2 --zoom --labels /usr/share/quorvane/maps/example.qvn "
    "route.png\n",
    kOptions};

// A point number of the map, or -1 for none.
int PointNumber(const NetworkModel& model, const std::string& text) {
    const std::optional<std::int64_t> index =
        qv::tools::WholeNumber(text, -1, model.StationCount() - 1);
    if (!index) {
        throw UsageError("no point " + qv::Printable(text) + " (the map has points 0 to " +
                         std::to_string(model.StationCount() - 1) + ", -1 for none)");
    }
    return static_cast<int>(*index);
}

std::int32_t ViewCoordinate(const std::string& text) {
    const std::optional<std::int64_t> value = qv::tools::WholeNumber(text);
    if (!value) {
        throw UsageError("--view: not a whole number: " + qv::Printable(text));
    }
    return static_cast<std::int32_t>(*value);
}

Station* PointAt(const NetworkModel& model, int index) {
    return index >= 0 ? model.Stations()[static_cast<std::size_t>(index)] : nullptr;
}

// One end of the route and the window pixel its station lands on.
void PrintEnd(const NetworkModel& model, const char* role, const Station* station) {
    if (!station) {
        return;
    }
    const std::int64_t s = CurrentScale(model);
    std::printf("%s: %d %s at %lld %lld\n", role, station->index,
                qv::Printable(Utf16ToUtf8(station->name)).c_str(),
                static_cast<long long>(s * station->x + model.originX + model.viewX),
                static_cast<long long>(s * station->y + model.originY + model.viewY));
}

int Render(const CommandLine& line) {
    if (line.Plain().size() != 2) {
        throw UsageError("MAP and OUT.png wanted, " + std::to_string(line.Plain().size()) +
                         " arguments given");
    }
    const std::string& map = line.Plain()[0];
    const std::string& output = line.Plain()[1];
    const int scale = static_cast<int>(line.Number("--scale", 1, 3, 1));
    const bool zoom = line.Has("--zoom");
    const bool centre = line.Has("--centre");
    // The centred view is the one the zoom command chooses: a view given by hand is another.
    if (centre && (!zoom || line.Has("--view"))) {
        throw UsageError("--centre goes with --zoom and without --view");
    }

    Settings settings;
    settings.showStationNames = line.Has("--labels");
    settings.routeBlink = !line.Has("--static-route");
    NetworkModel model;
    MapError error;
    if (qv::tools::LoadMapArgument(model, map, settings, error) != 0) {
        std::fprintf(stderr, "%s\n", qv::tools::MapErrorLine(map, error).c_str());
        return qv::tools::kToolFailed;
    }
    int from = -1;
    int to = -1;
    if (line.Has("--route")) {
        const std::vector<std::string> ends = line.Uses("--route").back();
        from = PointNumber(model, ends[0]);
        to = PointNumber(model, ends[1]);
    }
    const int callout = PointNumber(model, line.Text("--callout", "-1"));

    model.departure = PointAt(model, from);
    model.destination = PointAt(model, to);
    if (model.departure && model.destination) {
        SilentRouteSearchFeedback feedback;
        FindRoute(model, feedback);
    }
    if (zoom && !ToggleZoom(model) && centre) {
        return qv::tools::Fail(kSyntax, qv::Printable(map) + ": the map offers no zoom");
    }
    if (centre) {
        std::printf("scale %d, view %d %d\n", CurrentScale(model), model.viewX, model.viewY);
        PrintEnd(model, "departure", model.departure);
        PrintEnd(model, "destination", model.destination);
    }
    if (line.Has("--view")) {
        const std::vector<std::string> view = line.Uses("--view").back();
        model.viewX = ViewCoordinate(view[0]);
        model.viewY = ViewCoordinate(view[1]);
    }
    model.hotStation = PointAt(model, callout);
    DeviceScreen screen(scale);
    GdiSurface surface(screen.Dc(), ProgramModule());
    int routeLabelCounter = 1;
    PaintScheme(model, LOGFONTW{}, surface, !line.Has("--blink-off"), routeLabelCounter);
    if (!screen.Pixels().WritePng(output.c_str())) {
        return qv::tools::Fail(kSyntax, "cannot write " + qv::Printable(output));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, Render);
}
