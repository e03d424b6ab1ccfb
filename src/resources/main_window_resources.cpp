#include "resources/main_window_resources.h"

#include "platform/host/virtual_keys.h"
#include "platform/user/accelerator_table.h"
#include "platform/user/window_styles.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

constexpr std::array<ToolbarButton, kToolbarButtonCount> kButtons{{
    {kDepartureImage, ID_DEPARTURE, u"Станция отправления"},
    {kDestinationImage, ID_DESTINATION, u"Станция назначения"},
    {kClearStationsImage, ID_CLEAR_STATIONS, u"Очистка станций"},
    {kForbiddenStationImage, ID_FORBIDDEN_STATION, u"Запрещенная станция"},
    {kStationListImage, ID_STATION_LIST, u"Станции по алфавиту"},
    {kRouteInfoImage, ID_ROUTE_INFO, u"Информация о маршруте"},
    {kScaleImage, ID_SCALE, u"Масштабирование"},
    {kHelpImage, ID_HELP, u"Помощь"},
}};

constexpr WORD kKeyF4 = 0x73;

constexpr ACCEL kAccelerators[] = {
    {FVIRTKEY | FNOINVERT | FCONTROL, 'H', ID_STATION_LIST},
    {FVIRTKEY | FNOINVERT | FCONTROL, 'N', ID_LOAD_MAP},
    {FVIRTKEY | FNOINVERT | FCONTROL, 'O', ID_OPEN},
    {FVIRTKEY | FNOINVERT | FCONTROL, 'Q', ID_EXIT},
    {FVIRTKEY | FNOINVERT | FALT, kKeyF4, ID_EXIT},
};
constexpr AcceleratorResource kAcceleratorTable{kAccelerators};

}  // namespace

const std::array<ToolbarButton, kToolbarButtonCount>& ToolbarButtons() {
    return kButtons;
}

const std::array<const char16_t*, kToolbarButtonCount + 1>& ToolbarTooltips() {
    static const std::array<const char16_t*, kToolbarButtonCount + 1> tooltips = [] {
        std::array<const char16_t*, kToolbarButtonCount + 1> texts{};
        texts[0] = u"";
        for (int i = 0; i < kToolbarButtonCount; ++i) {
            texts[i + 1] = kButtons[i].tooltip.data();
        }
        return texts;
    }();
    return tooltips;
}

void AddMainWindowResources(ResourceModule& module) {
    module.AddResource(IDR_ACCELERATORS, kAcceleratorTable);
}

}  // namespace qv
