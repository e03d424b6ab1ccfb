// quorvane-route [--by transfers|time] [--wait on|off] [--max-transfers N] [--forbid POINT]...
//                [--] MAP FROM TO
// Finds a route as the program does and prints it with its details list. FROM, TO and POINT are
// station-index numbers or station names, typed as loosely as the station picker takes them. Exit 0
// with a route, 1 without, 2 for bad arguments or a map that does not load.

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "command_line.h"
#include "map_argument.h"
#include "model/station_name_order.h"
#include "resources/program_texts.h"
#include "route/route_finder.h"
#include "route/route_list.h"
#include "route/route_measures.h"
#include "text/name_search.h"
#include "text/printable.h"
#include "text/utf.h"

namespace {

using qv::NetworkModel;
using qv::Printable;
using qv::Station;
using qv::tools::CommandLine;

constexpr int kFound = 0;
constexpr int kNotFound = 1;

constexpr qv::tools::OptionRule kOptions[] = {
    {"--by", 1}, {"--wait", 1}, {"--max-transfers", 1}, {"--forbid", 1}};
constexpr qv::tools::ToolSyntax kSyntax{
    "quorvane-route",
    "Usage: quorvane-route [--by transfers|time] [--wait on|off] [--max-transfers N] "
    "[--forbid POINT]... [--] MAP FROM TO\n"
    "Finds a route between two stations of a map as the program does and prints it with its\n"
    "details list. FROM, TO and POINT are station-index numbers or station names; every\n"
    "station named by --forbid is avoided. A name that is no station's whole name is found as the\n"
    "station picker finds it: the first station, in alphabetical order, whose name begins with it\n"
    "as typed, with Е and Ё alike, typed in the other keyboard layout, or in Latin letters\n"
    "(\"kievskaya\"), or else the nearest name with a letter wrong, missing or extra per four "
    "typed;\n"
    "the station taken is named on standard error. Exit 0 with a route, 1 without, 2 for bad\n"
    "arguments or a map that does not load.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-route --by time /usr/share/quorvane/maps/example.qvn 0 2\n"
    "  $ quorvane-route --forbid Вторая /usr/share/quorvane/maps/example.qvn Первая Третья\n"
    "  $ quorvane-route /usr/share/quorvane/maps/moscow.qvn kievskaya ,fevfycrfz\n",
    kOptions};

class ConsoleFeedback : public qv::RouteSearchFeedback {
  public:
    void BeginWait() override {}
    void EndWait() override {}
    void ShowRouteNotFound() override {
        std::fprintf(stderr, "%s\n", qv::Utf16ToUtf8(qv::Text(qv::TextId::RouteNotFound)).c_str());
    }
};

bool IsStation(const Station& point) {
    return point.kind == qv::kStationKind || point.kind == qv::kForbiddenKind;
}

// The stations in the picker's order, each name beside them for finding loosely typed ones.
class StationNames {
  public:
    explicit StationNames(const NetworkModel& model) {
        for (Station* point : model.Stations()) {
            if (IsStation(*point)) {
                stations_.push_back(point);
            }
        }
        std::stable_sort(
            stations_.begin(), stations_.end(),
            [](const Station* a, const Station* b) { return qv::CompareStationNames(*a, *b) < 0; });
        std::vector<std::u16string> names;
        for (const Station* station : stations_) {
            names.push_back(station->name);
        }
        search_ = qv::NameSearch(std::move(names));
    }

    // The station the text means, named on standard error; nothing when none is near enough.
    Station* Find(const std::string& typed, const std::u16string& text) const {
        const std::optional<qv::NameFound> found = search_.Find(text);
        if (!found) {
            return nullptr;
        }
        Station* station = stations_[found->index];
        std::fprintf(stderr, "%s: \"%s\" taken as %s (%s, point %d)\n",
                     std::string(kSyntax.name).c_str(), Printable(typed).c_str(),
                     Printable(qv::Utf16ToUtf8(station->name)).c_str(),
                     Printable(qv::Utf16ToUtf8(station->line ? station->line->name : u"")).c_str(),
                     station->index);
        return station;
    }

  private:
    std::vector<Station*> stations_;
    qv::NameSearch search_;
};

// A whole number is a station-index number; anything else is the name of the first station of
// that name, or the station the picker would find for it. Nothing, with the reason printed, when
// the map has no such point.
Station* FindPoint(const NetworkModel& model, const StationNames& names,
                   const std::string& wanted) {
    if (const std::optional<std::int64_t> index = qv::tools::WholeNumber(wanted)) {
        if (*index >= 0 && *index < model.StationCount()) {
            return model.Stations()[static_cast<std::size_t>(*index)];
        }
        qv::tools::Fail(kSyntax, "no such point: " + wanted + " (the map has points 0 to " +
                                     std::to_string(model.StationCount() - 1) + ")");
        return nullptr;
    }
    const std::optional<std::u16string> name = qv::Utf8ToUtf16(wanted);
    for (Station* point : model.Stations()) {
        if (name && IsStation(*point) && point->name == *name) {
            return point;
        }
    }
    if (name && !name->empty()) {
        if (Station* found = names.Find(wanted, *name)) {
            return found;
        }
    }
    qv::tools::Fail(kSyntax, "no such point: " + Printable(wanted));
    return nullptr;
}

std::string IndexList(const std::vector<Station*>& route) {
    std::string text;
    for (const Station* point : route) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(point->index);
    }
    return text;
}

qv::Settings SearchSettings(const CommandLine& line) {
    qv::Settings settings;
    settings.algorithm = static_cast<std::int32_t>(line.Choice("--by", {"transfers", "time"}, 0));
    settings.countWaitTime = line.Choice("--wait", {"off", "on"}, 1) == 1;
    settings.maxTransfers = static_cast<std::int32_t>(line.Number(
        "--max-transfers", 0, std::numeric_limits<std::int32_t>::max(), settings.maxTransfers));
    return settings;
}

// Forbids each station named once, however often it is named; a point that is not a station
// cannot be forbidden.
bool ForbidStations(const NetworkModel& model, const StationNames& names, const CommandLine& line) {
    std::vector<Station*> forbidden;
    for (const std::vector<std::string>& use : line.Uses("--forbid")) {
        Station* point = FindPoint(model, names, use[0]);
        if (!point) {
            return false;
        }
        if (!IsStation(*point)) {
            qv::tools::Fail(kSyntax, "not a station, cannot be forbidden: " + Printable(use[0]));
            return false;
        }
        forbidden.push_back(point);
    }
    for (Station* point : forbidden) {
        point->kind = qv::kForbiddenKind;
    }
    return true;
}

int FindAndPrintRoute(const CommandLine& line) {
    if (line.Plain().size() != 3) {
        throw qv::tools::UsageError("MAP, FROM and TO wanted, " +
                                    std::to_string(line.Plain().size()) + " arguments given");
    }
    const std::string& map = line.Plain()[0];
    NetworkModel model;
    qv::MapError error;
    if (qv::tools::LoadMapArgument(model, map, SearchSettings(line), error) != 0) {
        std::fprintf(stderr, "%s\n", qv::tools::MapErrorLine(map, error).c_str());
        return qv::tools::kToolFailed;
    }
    // Both ends are found before any station is forbidden, so that naming a station in both
    // places finds it.
    const StationNames names(model);
    model.departure = FindPoint(model, names, line.Plain()[1]);
    model.destination = model.departure ? FindPoint(model, names, line.Plain()[2]) : nullptr;
    if (!model.destination || !ForbidStations(model, names, line)) {
        return qv::tools::kToolFailed;
    }

    ConsoleFeedback feedback;
    qv::FindRoute(model, feedback);
    if (model.route.empty()) {
        std::puts("route: none");
        return kNotFound;
    }
    std::printf("route: %s\n", IndexList(model.route).c_str());
    std::printf("stations %d transfers %d minutes %lld\n", qv::RouteStationCount(model),
                qv::CountTransfers(model.route),
                static_cast<long long>(qv::RouteTravelTime(model)));
    for (const qv::RouteListRow& row : qv::BuildRouteList(model)) {
        std::printf("%s\n", Printable(qv::Utf16ToUtf8(row.text)).c_str());
    }
    return kFound;
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, FindAndPrintRoute);
}
