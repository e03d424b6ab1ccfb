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

constexpr DialogTemplate kShape{
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 136, 150, u"", u"System", 8, {}};

LocalizedDialog RouteDetailsPage(Language language) {
    DialogTemplate shape = kShape;
    shape.caption = TextIn(language, TextId::RouteDetailsCaption);
    return {shape, {std::begin(kItems), std::end(kItems)}};
}

}  // namespace

void AddRouteDetailsTemplate(ResourceModule& module) {
    static const LocalizedDialogs pages = MakeInEveryLanguage(RouteDetailsPage);
    AddLocalizedDialogs(module, IDD_ROUTE_DETAILS, pages);
}

}  // namespace qv
