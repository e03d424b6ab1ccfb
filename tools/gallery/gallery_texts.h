#pragma once

#include <span>
#include <string_view>

#include "text/language.h"
#include "text/text_table.h"

namespace qv::gallery {

// The gallery's own captions, headings and notes. Sample data (station and line names, the
// letters typed on the keyboards) is not here: it is the same in every language.
enum class GalleryTextId {
    PageTitle,
    StaticHeading,
    StaticLeft,
    StaticCenter,
    StaticRight,
    StaticWrapped,
    StaticDisabled,
    StaticBold,
    StaticSystemFont,
    ButtonsHeading,
    ButtonNormal,
    ButtonDefault,
    ButtonPressed,
    ButtonDisabled,
    ButtonFocused,
    ButtonDefaultPressed,
    OwnerDrawnHeading,
    OwnerDrawnNormal,
    OwnerDrawnPressed,
    OwnerDrawnDisabled,
    ChecksHeading,
    CheckClear,
    CheckChecked,
    MarkPressed,  // a check box or a radio button held down
    CheckFocused,
    MarkDisabled,
    CheckDisabledChecked,
    RadiosHeading,
    RadioByTransfers,
    RadioByTime,
    RadioKeyboard,
    RadioTabs,
    EditsHeading,
    EditEmpty,
    EditWithText,
    EditSample,
    EditDisabled,
    EditScrolled,
    EditSelection,
    EditSelected,  // its characters 6 to 12 are selected: keep a word there
    EditNote,
    ScrollCaption,
    ImageDeparture,
    ImageDestination,
    ImageClear,
    ImageForbidden,
    ImageStationList,
    ImageRoute,
    ImageZoom,
    ImageHelp,
    ImageSpare,
    NoToolbarStrip,
    ToolbarHeading,
    StripLabel,
    MaskedLabel,
    IconsHeading,
    IconApp,
    IconDeparture,
    IconDestination,
    NoIcon,
    RussianKeyboardHeading,
    RussianKeyboardNote,
    HeldKeyHeading,
    HeldKeyNote,
    LatinKeyboardHeading,
    LatinKeyboardNote,
    SymbolKeyboardHeading,
    SymbolKeyboardNote,
    MenuHeading,
    MenuBarLabel,
    MenuDeparture,
    MenuDestination,
    MenuClearStations,
    MenuForbidden,
    ShellBarsNote,
    Count
};

// The tables, one per language, each with every id once.
std::span<const TextEntry<GalleryTextId>> RussianGalleryTexts();
std::span<const TextEntry<GalleryTextId>> EnglishGalleryTexts();
std::span<const TextEntry<GalleryTextId>> GalleryTexts(Language language);

// A text in the user interface's language.
std::u16string_view GalleryText(GalleryTextId id);

}  // namespace qv::gallery
