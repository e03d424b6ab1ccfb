#include "platform/user/api/system_parameters.h"

#include "platform/user/core/window_system.h"

namespace qv {

BOOL SystemParametersInfoW(UINT uiAction, UINT, void* pvParam, UINT) {
    WindowSystem* system = WindowSystem::Current();
    auto* area = static_cast<RECT*>(pvParam);
    if (!system || !area) {
        return 0;
    }
    switch (uiAction) {
        case SPI_GETWORKAREA:
            *area = system->WorkArea();
            return 1;
        case SPI_SETWORKAREA:
            if (area->right <= area->left || area->bottom <= area->top) {
                return 0;
            }
            system->SetWorkArea(*area);
            return 1;
        default:
            return 0;
    }
}

}  // namespace qv
