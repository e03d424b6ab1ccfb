// quorvane-route [--by transfers|time] [--wait on|off] [--max-transfers N] [--forbid POINT]...
//                MAP FROM TO
// Finds a route as the program does and prints it with its details list. FROM, TO and POINT are
// station-index numbers or exact station names. Exit 0 with a route, 1 without, 2 for bad
// arguments or a map that does not load.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/map_file.h"
#include "route/route_finder.h"
#include "route/route_list.h"
#include "route/route_measures.h"
#include "text/decimal.h"
#include "text/utf.h"

namespace {

using qv::NetworkModel;
using qv::Station;

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kBadArguments = 2;
constexpr const char* kUsage =
    "usage: quorvane-route [--by transfers|time] [--wait on|off] [--max-transfers N] "
    "[--forbid POINT]... MAP FROM TO\n";

struct Arguments {
    qv::Settings settings;
    std::vector<std::string> forbidden;
    std::string map;
    std::string from;
    std::string to;
};

class ConsoleFeedback : public qv::RouteSearchFeedback {
  public:
    void BeginWait() override {}
    void EndWait() override {}
    void ShowRouteNotFound() override {
        std::fprintf(stderr, "%s\n", qv::Utf16ToUtf8(qv::kRouteNotFoundText).c_str());
    }
};

std::optional<std::int32_t> WholeNumber(std::string_view text) {
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return qv::ParseDecimal(std::u16string(text.begin(), text.end()));
}

// A number is a station-index number; anything else is the name of the first 'S' point.
Station* FindPoint(const NetworkModel& model, const std::string& wanted) {
    if (const std::optional<std::int32_t> index = WholeNumber(wanted)) {
        return *index >= 0 && *index < model.StationCount()
                   ? model.Stations()[static_cast<std::size_t>(*index)]
                   : nullptr;
    }
    const std::optional<std::u16string> name = qv::Utf8ToUtf16(wanted);
    for (Station* point : model.Stations()) {
        if (name && point->IsStation() && point->name == *name) {
            return point;
        }
    }
    return nullptr;
}

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--by" && hasValue) {
            const std::string_view value = argv[++i];
            if (value != "transfers" && value != "time") {
                return false;
            }
            arguments.settings.algorithm = value == "time" ? 1 : 0;
        } else if (option == "--wait" && hasValue) {
            const std::string_view value = argv[++i];
            if (value != "on" && value != "off") {
                return false;
            }
            arguments.settings.countWaitTime = value == "on";
        } else if (option == "--max-transfers" && hasValue) {
            const std::optional<std::int32_t> limit = WholeNumber(argv[++i]);
            if (!limit) {
                return false;
            }
            arguments.settings.maxTransfers = *limit;
        } else if (option == "--forbid" && hasValue) {
            arguments.forbidden.emplace_back(argv[++i]);
        } else if (option.starts_with("--")) {
            return false;
        } else {
            positional.emplace_back(option);
        }
    }
    if (positional.size() != 3) {
        return false;
    }
    arguments.map = positional[0];
    arguments.from = positional[1];
    arguments.to = positional[2];
    return true;
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

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::fputs(kUsage, stderr);
        return kBadArguments;
    }
    NetworkModel model;
    qv::MapError error;
    const std::optional<std::u16string> path = qv::Utf8ToUtf16(arguments.map);
    if (!path || qv::LoadMapFile(model, *path, arguments.settings, &error) != 0) {
        const char* reason = path ? error.reason.c_str() : "the file name is not UTF-8";
        if (error.line > 0) {
            std::fprintf(stderr, "%s:%d: error: %s\n", arguments.map.c_str(), error.line, reason);
        } else {
            std::fprintf(stderr, "%s: error: %s\n", arguments.map.c_str(), reason);
        }
        return kBadArguments;
    }
    for (const std::string& wanted : arguments.forbidden) {
        Station* point = FindPoint(model, wanted);
        if (!point) {
            std::fprintf(stderr, "no such point: %s\n", wanted.c_str());
            return kBadArguments;
        }
        qv::ToggleForbidden(*point);
    }
    model.departure = FindPoint(model, arguments.from);
    model.destination = FindPoint(model, arguments.to);
    if (!model.departure || !model.destination) {
        std::fprintf(stderr, "no such point: %s\n",
                     (model.departure ? arguments.to : arguments.from).c_str());
        return kBadArguments;
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
        std::puts(qv::Utf16ToUtf8(row.text).c_str());
    }
    return kFound;
}
