#include "resources/about_template.h"

#include "platform/controls/control_codes.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"
#include "resources/resource_ids.h"
#include "resources/version.h"

namespace qv {

namespace {

constexpr DialogItemTemplate kItems[] = {
    {u"STATIC", u"Quorvane", static_cast<WORD>(IDC_ABOUT_PRODUCT), WS_VISIBLE | SS_LEFT, 0, 8, 4,
     50, 12},
    {u"STATIC", u"Схема метро и поиск маршрута", 0xFFFF, WS_VISIBLE | SS_LEFT, 0, 8, 18, 144, 20},
    {u"STATIC", kVersionLine, static_cast<WORD>(IDC_ABOUT_VERSION), WS_VISIBLE | SS_LEFT, 0, 7, 46,
     44, 8},
    {u"STATIC", kReleaseDateLine, static_cast<WORD>(IDC_ABOUT_DATE), WS_VISIBLE | SS_CENTER, 0, 4,
     57, 49, 8},
};

constexpr DialogTemplate kAbout{WS_POPUP | WS_BORDER, 0, 0,     0, 160, 182, u"",
                                u"MS Sans Serif",     8, kItems};

}  // namespace

void AddAboutTemplate(ResourceModule& module) {
    module.AddResource(IDD_ABOUT, kAbout);
}

}  // namespace qv
