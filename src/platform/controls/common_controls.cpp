#include "platform/controls/common_controls.h"

#include "platform/controls/button.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/list_view.h"
#include "platform/controls/static_text.h"
#include "platform/controls/tab_control.h"

namespace qv {

namespace {

struct ControlFamily {
    DWORD flag;
    bool (*registerClasses)();
};

// One row per family; a new control's family is a new row.
bool RegisterListViews() {
    return RegisterListViewClass() != 0;
}

bool RegisterTabControls() {
    return RegisterTabControlClass() != 0;
}

constexpr ControlFamily kFamilies[] = {
    {ICC_STANDARD_CLASSES, RegisterStandardControls},
    {ICC_LISTVIEW_CLASSES, RegisterListViews},
    {ICC_TAB_CLASSES, RegisterTabControls},
};

}  // namespace

bool RegisterStandardControls() {
    const bool statics = RegisterStaticClass();
    const bool buttons = RegisterButtonClass();
    const bool edits = RegisterEditClass();
    return statics && buttons && edits;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* families) {
    if (!families || families->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return 0;
    }
    DWORD known = 0;
    bool registered = true;
    for (const ControlFamily& family : kFamilies) {
        if ((families->dwICC & family.flag) != 0) {
            known |= family.flag;
            registered = family.registerClasses() && registered;
        }
    }
    return registered && known == families->dwICC ? 1 : 0;
}

}  // namespace qv
