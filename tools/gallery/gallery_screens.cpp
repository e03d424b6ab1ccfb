#include "gallery_screens.h"

#include "gallery_texts.h"
#include "image_screens.h"
#include "keyboard_screens.h"
#include "list_screens.h"
#include "menu_screen.h"
#include "open_file_screen.h"
#include "platform/controls/button.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/static_text.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "shell_screens.h"

namespace qv::gallery {

namespace {

using enum GalleryTextId;

constexpr int kLeft = 8;
constexpr int kWidth = 224;
constexpr int kButtonHeight = 22;
constexpr int kMarkHeight = 16;
constexpr int kEditHeight = 20;

RECT Row(int top, int height, int left = kLeft, int width = kWidth) {
    return {left, top, left + width, top + height};
}

void Heading(const Page& page, int top, std::u16string_view text) {
    AddControl(page, kStaticClassName, text, SS_LEFT, Row(top, 14), 0, page.bold);
}

void BuildStatics(const Page& page) {
    Heading(page, 6, GalleryText(StaticHeading));
    AddControl(page, kStaticClassName, GalleryText(StaticLeft), SS_LEFT, Row(26, 14));
    AddControl(page, kStaticClassName, GalleryText(StaticCenter), SS_CENTER, Row(44, 14));
    AddControl(page, kStaticClassName, GalleryText(StaticRight), SS_RIGHT, Row(62, 14));
    AddControl(page, kStaticClassName, GalleryText(StaticWrapped), SS_LEFT,
               Row(82, 30, kLeft, 200));
    AddControl(page, kStaticClassName, GalleryText(StaticDisabled), SS_LEFT | WS_DISABLED,
               Row(116, 14));
    Heading(page, 140, GalleryText(StaticBold));
    AddControl(page, kStaticClassName, GalleryText(StaticSystemFont), SS_LEFT, Row(160, 16), 0,
               static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
}

void BuildPushButtons(const Page& page) {
    Heading(page, 6, GalleryText(ButtonsHeading));
    AddControl(page, kButtonClassName, GalleryText(ButtonNormal), BS_PUSHBUTTON,
               Row(28, kButtonHeight, 8, 108));
    AddControl(page, kButtonClassName, GalleryText(ButtonDefault), BS_DEFPUSHBUTTON,
               Row(28, kButtonHeight, 124, 108));
    const HWND pressed = AddControl(page, kButtonClassName, GalleryText(ButtonPressed),
                                    BS_PUSHBUTTON, Row(58, kButtonHeight, 8, 108));
    SendMessageW(pressed, BM_SETSTATE, 1, 0);
    AddControl(page, kButtonClassName, GalleryText(ButtonDisabled), BS_PUSHBUTTON | WS_DISABLED,
               Row(58, kButtonHeight, 124, 108));
    const HWND focused = AddControl(page, kButtonClassName, GalleryText(ButtonFocused),
                                    BS_PUSHBUTTON, Row(88, kButtonHeight, 8, 108));
    const HWND both = AddControl(page, kButtonClassName, GalleryText(ButtonDefaultPressed),
                                 BS_DEFPUSHBUTTON, Row(88, kButtonHeight, 124, 108));
    SendMessageW(both, BM_SETSTATE, 1, 0);
    SetFocus(focused);
    Heading(page, 122, GalleryText(OwnerDrawnHeading));
    AddControl(page, kButtonClassName, GalleryText(OwnerDrawnNormal), BS_OWNERDRAW,
               Row(144, 26, 8, 70), 1);
    const HWND selected = AddControl(page, kButtonClassName, GalleryText(OwnerDrawnPressed),
                                     BS_OWNERDRAW, Row(144, 26, 85, 70), 2);
    SendMessageW(selected, BM_SETSTATE, 1, 0);
    AddControl(page, kButtonClassName, GalleryText(OwnerDrawnDisabled), BS_OWNERDRAW | WS_DISABLED,
               Row(144, 26, 162, 70), 3);
}

void BuildChecks(const Page& page) {
    Heading(page, 6, GalleryText(ChecksHeading));
    const auto check = [&](int top, std::u16string_view text, DWORD extra) {
        return AddControl(page, kButtonClassName, text, BS_AUTOCHECKBOX | extra,
                          Row(top, kMarkHeight));
    };
    check(26, GalleryText(CheckClear), 0);
    SendMessageW(check(44, GalleryText(CheckChecked), 0), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(check(62, GalleryText(MarkPressed), 0), BM_SETSTATE, 1, 0);
    const HWND focused = check(80, GalleryText(CheckFocused), 0);
    SendMessageW(focused, BM_SETCHECK, BST_CHECKED, 0);
    check(98, GalleryText(MarkDisabled), WS_DISABLED);
    SendMessageW(check(116, GalleryText(CheckDisabledChecked), WS_DISABLED), BM_SETCHECK,
                 BST_CHECKED, 0);
    Heading(page, 142, GalleryText(RadiosHeading));
    const auto radio = [&](int top, std::u16string_view text, DWORD extra, int id) {
        return AddControl(page, kButtonClassName, text, BS_AUTORADIOBUTTON | extra,
                          Row(top, kMarkHeight), id);
    };
    radio(162, GalleryText(RadioByTransfers), WS_GROUP, 10);
    radio(180, GalleryText(RadioByTime), 0, 11);
    SendMessageW(radio(198, GalleryText(MarkPressed), 0, 12), BM_SETSTATE, 1, 0);
    CheckRadioButton(page.window, 10, 12, 11);
    radio(220, GalleryText(RadioKeyboard), WS_GROUP, 20);
    radio(238, GalleryText(RadioTabs), 0, 21);
    radio(256, GalleryText(MarkDisabled), WS_DISABLED, 22);
    CheckRadioButton(page.window, 20, 22, 20);
    SetFocus(focused);
}

void BuildEdits(const Page& page) {
    Heading(page, 6, GalleryText(EditsHeading));
    const auto label = [&](int top, std::u16string_view text) {
        AddControl(page, kStaticClassName, text, SS_LEFT, Row(top + 3, 14, kLeft, 96));
    };
    const auto edit = [&](int top, std::u16string_view text, DWORD extra) {
        return AddControl(page, kEditClassName, text, WS_BORDER | extra,
                          Row(top, kEditHeight, 106, 126));
    };
    label(28, GalleryText(EditEmpty));
    edit(28, u"", ES_AUTOHSCROLL);
    label(54, GalleryText(EditWithText));
    edit(54, GalleryText(EditSample), ES_AUTOHSCROLL);
    label(80, u"ES_NUMBER");
    edit(80, u"2000", ES_NUMBER | ES_AUTOHSCROLL);
    label(106, GalleryText(EditDisabled));
    edit(106, u"3", ES_NUMBER | WS_DISABLED);
    label(132, GalleryText(EditScrolled));
    const HWND scrolled = edit(132, u"Площадь Александра Невского", ES_AUTOHSCROLL);
    SendMessageW(scrolled, EM_SETSEL, 27, 27);
    label(158, GalleryText(EditSelection));
    const HWND selected = edit(158, GalleryText(EditSelected), ES_AUTOHSCROLL);
    AddControl(page, kStaticClassName, GalleryText(EditNote), SS_LEFT, Row(188, 30));
    SetFocus(selected);
    SendMessageW(selected, EM_SETSEL, 6, 13);
}

void BuildLists(const Page& page) {
    BuildListViewScreen(page.window);
}

void BuildListScroll(const Page& page) {
    BuildListScrollScreen(page.window);
}

void BuildScrollBars(const Page& page) {
    BuildScrollBarScreen(page.window);
}

void BuildTabs(const Page& page) {
    BuildTabScreen(page.window);
}

constexpr Screen kScreens[] = {
    {"static", BuildStatics},
    {"buttons", BuildPushButtons},
    {"checks", BuildChecks},
    {"edits", BuildEdits},
    {"list-view", BuildLists},
    {"list-scroll", BuildListScroll},
    {"scroll-bars", BuildScrollBars},
    {"tabs", BuildTabs},
    {"popup-menu", BuildMenuScreen},
    {"keyboard-ru", BuildRussianKeyboard},
    {"keyboard-held", BuildHeldKey},
    {"keyboard-latin", BuildLatinKeyboard},
    {"keyboard-symbols", BuildSymbolKeyboard},
    {"toolbar-images", BuildToolbarImageScreen},
    {"icons", BuildIconScreen},
    {"open-file", BuildOpenFileScreen},
    {"shell-bars", BuildShellBarsScreen},
    {"shell-menu", BuildShellMenuScreen},
    {"shell-page", BuildShellPageScreen},
};

}  // namespace

std::span<const Screen> Screens() {
    return kScreens;
}

std::size_t TurnedScreen(std::size_t shown, bool forward) {
    const std::size_t count = Screens().size();
    return forward ? (shown + 1) % count : (shown + count - 1) % count;
}

DialogFonts::DialogFonts() {
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    normal.reset(CreateFontIndirectW(&attributes));
    attributes.lfWeight = FW_BOLD;
    bold.reset(CreateFontIndirectW(&attributes));
}

bool StartControls() {
    INITCOMMONCONTROLSEX families;
    families.dwICC = ICC_STANDARD_CLASSES;
    return InitCommonControlsEx(&families) && RegisterPageClass();
}

HWND MakePage(const DialogFonts& fonts, std::size_t screen, bool withNavigation) {
    const HWND window = CreateWindowExW(0, kPageClassName, GalleryText(GalleryTextId::PageTitle),
                                        WS_VISIBLE, 0, 0, 240, 320, nullptr, 0, nullptr, nullptr);
    if (!window) {
        return nullptr;
    }
    const Page page{window, fonts.normal.get(), fonts.bold.get()};
    if (withNavigation) {
        AddControl(page, kButtonClassName, u"<", BS_PUSHBUTTON, {8, 292, 48, 314}, kPreviousScreen);
        AddControl(page, kButtonClassName, u">", BS_PUSHBUTTON, {192, 292, 232, 314}, kNextScreen);
    }
    Screens()[screen].build(page);
    return window;
}

}  // namespace qv::gallery
