#include "resources/main_toolbar.h"

#include "platform/gdi/resource_module.h"
#include "resources/program_texts.h"

namespace qv {

namespace {

constexpr TextId kTooltipTexts[] = {
    TextId::TipDeparture,     TextId::TipDestination,
    TextId::TipClearStations, TextId::TipForbiddenStation,
    TextId::TipStationList,   TextId::TipRouteInfo,
    TextId::TipScale,         TextId::TipHelp,
};
static_assert(std::size(kTooltipTexts) + 1 == std::size(kMainToolbarTooltips));

// The table's texts are literals, so each ends in a null as the toolbar wants.
bool FillTooltips(Language language) {
    kMainToolbarTooltips[0] = u"";
    for (std::size_t i = 0; i < std::size(kTooltipTexts); ++i) {
        kMainToolbarTooltips[i + 1] = TextIn(language, kTooltipTexts[i]).data();
    }
    return true;
}

}  // namespace

const char16_t* kMainToolbarTooltips[9] = {};

namespace {

[[maybe_unused]] const bool kFilledAtStart = FillTooltips(Language::Russian);

}  // namespace

void SelectProgramLanguage(Language language) {
    SelectUiLanguage(language);
    FillTooltips(language);
}

}  // namespace qv
