#include "gallery/gallery_texts.h"

namespace qv::gallery {

namespace {

using enum GalleryTextId;

constexpr TextEntry<GalleryTextId> kTexts[] = {
    {PageTitle, u"Quorvane: controls"},
    {StaticHeading, u"Static text"},
    {StaticLeft, u"SS_LEFT: fewest transfers"},
    {StaticCenter, u"SS_CENTER: Route"},
    {StaticRight, u"SS_RIGHT: ms"},
    {StaticWrapped, u"the most transfers a route may have (lines wrapped)"},
    {StaticDisabled, u"Disabled text"},
    {StaticBold, u"Bold heading: Display"},
    {StaticSystemFont, u"System font (no WM_SETFONT)"},
    {ButtonsHeading, u"Buttons"},
    {ButtonNormal, u"Normal"},
    {ButtonDefault, u"Default"},
    {ButtonPressed, u"Pressed"},
    {ButtonDisabled, u"Disabled"},
    {ButtonFocused, u"Focused"},
    {ButtonDefaultPressed, u"Default, pressed"},
    {OwnerDrawnHeading, u"Owner-drawn"},
    {OwnerDrawnNormal, u"normal"},
    {OwnerDrawnPressed, u"pressed"},
    {OwnerDrawnDisabled, u"disabled"},
    {ChecksHeading, u"Check boxes"},
    {CheckClear, u"not checked"},
    {CheckChecked, u"checked"},
    {MarkPressed, u"pressed"},
    {CheckFocused, u"focused, checked"},
    {MarkDisabled, u"disabled"},
    {CheckDisabledChecked, u"disabled, checked"},
    {RadiosHeading, u"Radio buttons"},
    {RadioByTransfers, u"fewest transfers"},
    {RadioByTime, u"shortest time"},
    {RadioKeyboard, u"keyboard (another group)"},
    {RadioTabs, u"letter tabs"},
    {EditsHeading, u"Edit boxes"},
    {EditEmpty, u"empty"},
    {EditWithText, u"with text"},
    {EditSample, u"Metro map"},
    {EditDisabled, u"disabled"},
    {EditScrolled, u"scrolled"},
    {EditSelection, u"selection"},
    {EditSelected, u"Metro station"},
    {EditNote, u"Focus in the \u201Cselection\u201D box: letters 6-13 selected, caret after them."},
    {ScrollCaption, u"Scrolling"},
    {ImageDeparture, u"departure"},
    {ImageDestination, u"destination"},
    {ImageClear, u"clear"},
    {ImageForbidden, u"forbidden"},
    {ImageStationList, u"A-Z"},
    {ImageRoute, u"route"},
    {ImageZoom, u"zoom"},
    {ImageHelp, u"help"},
    {ImageSpare, u"spare"},
    {NoToolbarStrip, u"No IDB_TOOLBAR strip"},
    {ToolbarHeading, u"Toolbar"},
    {StripLabel, u"Strip:"},
    {MaskedLabel, u"Masked:"},
    {IconsHeading, u"Icons"},
    {IconApp, u"Program (1), 32 x 32"},
    {IconDeparture, u"Departure (5003), 16 x 16"},
    {IconDestination, u"Destination (5004), 16 x 16"},
    {NoIcon, u"no icon"},
    {RussianKeyboardHeading, u"Keyboard: Russian"},
    {RussianKeyboardNote, u"Shift gives one capital letter, then turns itself off"},
    {HeldKeyHeading, u"Key held down"},
    {HeldKeyNote, u"Under the finger: the key shows enlarged above it"},
    {LatinKeyboardHeading, u"Keyboard: QWERTY"},
    {LatinKeyboardNote, u"Caps on: capitals until it is tapped again"},
    {SymbolKeyboardHeading, u"Digits and symbols"},
    {SymbolKeyboardNote, u"The layout switch: bottom left"},
    {MenuHeading, u"The \u201CMap\u201D menu over the menu bar"},
    {MenuBarLabel, u"Menu bar"},
    {MenuDeparture, u"&Departure"},
    {MenuDestination, u"De&stination"},
    {MenuClearStations, u"&Clear stations"},
    {MenuForbidden, u"&Forbidden"},
    {ShellBarsNote,
     u"Navigation bar at the top, menu bar at the bottom; the \u201CDeparture station\u201D "
     u"button held down, its tooltip over the bar."},
};

}  // namespace

std::span<const TextEntry<GalleryTextId>> EnglishGalleryTexts() {
    return kTexts;
}

}  // namespace qv::gallery
