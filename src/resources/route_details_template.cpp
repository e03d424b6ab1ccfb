#include "platform/controls/list_view_messages.h"
#include "resources/page_templates.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

constexpr DialogItemTemplate kItems[] = {
    {WC_LISTVIEW, u"", IDC_LIST,
     WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
         WS_TABSTOP | WS_GROUP,
     0, 0, 0, 134, 146},
};

}  // namespace

constexpr DialogTemplate kRouteDetailsTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                               0,
                                               0,
                                               0,
                                               136,
                                               150,
                                               u"Маршрут подробно",
                                               u"System",
                                               8,
                                               kItems};

}  // namespace qv
