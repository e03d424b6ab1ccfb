#pragma once

#include <span>

#include "platform/gdi/resource_module.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"
#include "resources/localized_dialog.h"

namespace qv {

// A dialog's own frame around a page.
inline constexpr DWORD DS_MODALFRAME = 0x00000080;

// Both pages are laid out in dialog units of "System" 8, whose base units are 7 x 14 pixels (a
// unit is a quarter of the average Latin letter's width, an eighth of the line height), so that
// 134 units of list are about the screen's width.

// A page in every language: the frame both pages share, captioned with `caption`, around `items`,
// whose texts need no translating.
inline LocalizedDialogs PageInEveryLanguage(TextId caption,
                                            std::span<const DialogItemTemplate> items) {
    return MakeInEveryLanguage([&](Language language) {
        DialogTemplate shape{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                             0,
                             0,
                             0,
                             136,
                             150,
                             u"",
                             u"System",
                             8,
                             {}};
        shape.caption = TextIn(language, caption);
        return LocalizedDialog(shape, {items.begin(), items.end()});
    });
}

// Adds, in every language, the station picker: letter tabs (or the name edit in their place), the
// list of stations and the departure and destination buttons.
void AddStationPickerTemplate(ResourceModule& module);
// Adds, in every language, the route details: one list of the route's rows.
void AddRouteDetailsTemplate(ResourceModule& module);

}  // namespace qv
