#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/list_view_messages.h"
#include "platform/controls/tab_control_messages.h"
#include "resources/localized_dialog.h"
#include "resources/page_templates.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

constexpr DialogItemTemplate kItems[] = {
    {WC_TABCONTROL, u"Tab2", IDC_LETTER_TABS,
     WS_VISIBLE | TCS_MULTILINE | WS_TABSTOP | WS_GROUP | WS_CLIPSIBLINGS, 0, 0, 0, 134, 15},
    {kEditClassName, u"", IDC_NAME_EDIT, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 2,
     2, 132, 12},
    {WC_LISTVIEW, u"List1", IDC_LIST,
     WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
         WS_TABSTOP | WS_GROUP,
     0, 0, 16, 134, 106},
    {kButtonClassName, u"Start", ID_DEPARTURE, WS_VISIBLE | BS_OWNERDRAW, 0, 0, 123, 134, 14},
    {kButtonClassName, u"Stop", ID_DESTINATION, WS_VISIBLE | BS_OWNERDRAW, 0, 0, 136, 134, 14},
};

}  // namespace

void AddStationPickerTemplate(ResourceModule& module) {
    static const LocalizedDialogs pages = PageInEveryLanguage(TextId::PickerCaption, kItems);
    AddLocalizedDialogs(module, IDD_STATION_PICKER, pages);
}

}  // namespace qv
