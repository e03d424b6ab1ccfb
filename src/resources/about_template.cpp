#include "resources/about_template.h"

#include <array>
#include <string>

#include "platform/controls/control_codes.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"
#include "resources/localized_dialog.h"
#include "resources/resource_ids.h"
#include "resources/version.h"

namespace qv {

namespace {

constexpr DialogTemplate kAbout{WS_POPUP | WS_BORDER, 0, 0, 0, 160, 182, u"",
                                u"MS Sans Serif",     8, {}};

// The version line in every language, filled once.
const std::u16string& VersionLine(Language language) {
    static const std::array<std::u16string, std::size(kLanguages)> lines = [] {
        std::array<std::u16string, std::size(kLanguages)> filled;
        const std::u16string number(kVersionNumber.begin(), kVersionNumber.end());
        const std::u16string_view values[] = {number};
        for (std::size_t i = 0; i < filled.size(); ++i) {
            filled[i] = FillPlaceholders(TextIn(kLanguages[i], TextId::AboutVersion), values);
        }
        return filled;
    }();
    return lines[static_cast<std::size_t>(language)];
}

LocalizedDialog AboutBox(Language language) {
    return {kAbout,
            {
                {u"STATIC", u"Quorvane", static_cast<WORD>(IDC_ABOUT_PRODUCT), WS_VISIBLE | SS_LEFT,
                 0, 8, 4, 50, 12},
                {u"STATIC", TextIn(language, TextId::AboutPurpose), 0xFFFF, WS_VISIBLE | SS_LEFT, 0,
                 8, 18, 144, 20},
                {u"STATIC", VersionLine(language), static_cast<WORD>(IDC_ABOUT_VERSION),
                 WS_VISIBLE | SS_LEFT, 0, 7, 46, 44, 8},
                {u"STATIC", kReleaseDateLine, static_cast<WORD>(IDC_ABOUT_DATE),
                 WS_VISIBLE | SS_CENTER, 0, 4, 57, 49, 8},
            }};
}

}  // namespace

void AddAboutTemplate(ResourceModule& module) {
    static const LocalizedDialogs boxes = MakeInEveryLanguage(AboutBox);
    AddLocalizedDialogs(module, IDD_ABOUT, boxes);
}

}  // namespace qv
