#pragma once

#include <initializer_list>
#include <memory>

#include "model/network_model.h"

namespace qv::testing {

struct PointData {
    const char16_t* name;
    std::int32_t x;
    std::int32_t y;
    std::int32_t runTime = 1;
    std::int16_t kind = kStationKind;
};

class NetworkBuilder {
  public:
    NetworkBuilder& Line(std::int32_t number, std::initializer_list<PointData> points,
                         std::int32_t waitTime = 0, bool ring = false) {
        qv::Line& line =
            model_->AddLine(number, u"Линия " + std::u16string(1, char16_t(u'0' + number % 10)), 0,
                            ring, static_cast<std::int32_t>(points.size()), waitTime);
        for (const PointData& point : points) {
            line.AddStation({.name = point.name,
                             .runTime = point.runTime,
                             .kind = point.kind,
                             .x = point.x,
                             .y = point.y});
        }
        return *this;
    }
    NetworkBuilder& Transfer(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                             std::int32_t time) {
        model_->transfers.push_back({x1, y1, x2, y2, time});
        return *this;
    }
    std::unique_ptr<NetworkModel> Build() {
        model_->BuildStationIndex();
        return std::move(model_);
    }

  private:
    std::unique_ptr<NetworkModel> model_ = std::make_unique<NetworkModel>();
};

}  // namespace qv::testing
