#pragma once

#include <cstdint>
#include <vector>

#include "framework/dialog_object.h"
#include "framework/message_map.h"
#include "model/network_model.h"
#include "route/route_list.h"

namespace qv {

// The found route as one list: both ends, the counts, the time, then every station in travel
// order with the transfers between lines, each station row in its line's colour. It reads the
// model and changes nothing.
class RouteDetailsDialog final : public DialogObject {
  public:
    explicit RouteDetailsDialog(const NetworkModel& network) : model(&network) {}

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

    const NetworkModel* model;
    HWND listView = nullptr;
    std::int32_t routeTransferCount = 0;
    std::int32_t routeStationCount = 0;
    std::int64_t routeMinutes = 0;

  private:
    LRESULT OnInitDialog(const Message& message, bool& handled);
    LRESULT OnGetDisplayInfo(const Message& message, bool& handled);
    LRESULT OnCustomDraw(const Message& message, bool& handled);
    LRESULT OnClose(const Message& message, bool& handled);
    void FillRouteList();

    // The rows as shown, each list item's data being its index here: the row's role decides
    // whether a station or a line is read.
    std::vector<RouteListRow> rows_;
};

// Runs the route details over the owner; only for a model with a route.
void ShowRouteDetails(HWND owner, const NetworkModel& model);

}  // namespace qv
