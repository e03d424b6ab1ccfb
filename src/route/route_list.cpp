#include "route/route_list.h"

#include "resources/program_texts.h"
#include "route/route_measures.h"
#include "text/decimal.h"

namespace qv {

std::int32_t RouteStationCount(const NetworkModel& model) {
    return static_cast<std::int32_t>(RouteStops(model.route).size());
}

std::int64_t RouteTravelTime(const NetworkModel& model) {
    return TravelTime(model.route, model.transfers, model.settings.countWaitTime);
}

std::vector<RouteListRow> BuildRouteList(const NetworkModel& model) {
    using Role = RouteListRow::Role;
    std::vector<RouteListRow> rows;
    if (model.route.empty() || !model.departure || !model.destination) {
        return rows;
    }
    rows.push_back({Role::Departure, model.departure->name, model.departure});
    rows.push_back({Role::Destination, model.destination->name, model.destination});
    const std::vector<const Station*> stops = RouteStops(model.route);
    rows.push_back({Role::Summary, FormatText(TextId::RouteSummary,
                                              {FormatDecimal(stops.size()),
                                               FormatDecimal(CountTransfers(model.route))})});
    rows.push_back(
        {Role::Time, FormatText(TextId::RouteTime, {FormatDecimal(RouteTravelTime(model))})});

    const Station* previous = nullptr;
    for (const Station* point : stops) {
        if (previous && point->line->number != previous->line->number) {
            rows.push_back({Role::Transfer, std::u16string(Text(TextId::RouteTransfer))});
            rows.push_back(
                {Role::LineName, u"\"" + point->line->name + u"\"", nullptr, point->line});
        }
        rows.push_back({Role::Station, point->name, point});
        previous = point;
    }
    return rows;
}

}  // namespace qv
