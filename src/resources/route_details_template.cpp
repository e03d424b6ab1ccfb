#include "platform/controls/list_view_messages.h"
#include "resources/localized_dialog.h"
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

void AddRouteDetailsTemplate(ResourceModule& module) {
    static const LocalizedDialogs pages = PageInEveryLanguage(TextId::RouteDetailsCaption, kItems);
    AddLocalizedDialogs(module, IDD_ROUTE_DETAILS, pages);
}

}  // namespace qv
