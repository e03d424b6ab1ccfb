#include "resources/main_window_resources.h"

#include "platform/host/virtual_keys.h"
#include "platform/user/api/accelerator_table.h"
#include "platform/user/records/window_styles.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

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

void AddMainWindowResources(ResourceModule& module) {
    module.AddResource(IDR_ACCELERATORS, kAcceleratorTable);
}

}  // namespace qv
