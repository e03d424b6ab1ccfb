#include "keyboard_screens.h"

#include "gallery_texts.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/static_text.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/on_screen_keyboard.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv::gallery {

namespace {

constexpr std::u16string_view kKeeperClassName = u"QvGalleryPanelKeeper";

// The keyboard outlives the page unless something destroys it: this hidden child of the page
// does so when the page goes.
LRESULT KeeperProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        DestroyInputPanel();
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const OnScreenKeyboard* Keyboard() {
    return ControlStateOf<OnScreenKeyboard>(InputPanelKeyboard());
}

// The middle of the first key doing `action` (showing `character`, when given), in the
// keyboard's client coordinates.
LPARAM KeyPoint(KeyAction action, char16_t character = 0) {
    for (const KeyCap& key : Keyboard()->State().Layout().keys) {
        if (key.action == action && (character == 0 || key.character == character)) {
            return MAKELPARAM((key.rect.left + key.rect.right) / 2,
                              (key.rect.top + key.rect.bottom) / 2);
        }
    }
    return MAKELPARAM(-1, -1);
}

void Press(KeyAction action, char16_t character = 0) {
    SendMessageW(InputPanelKeyboard(), WM_LBUTTONDOWN, MK_LBUTTON, KeyPoint(action, character));
}

void Tap(KeyAction action, char16_t character = 0) {
    const LPARAM at = KeyPoint(action, character);
    SendMessageW(InputPanelKeyboard(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(InputPanelKeyboard(), WM_LBUTTONUP, 0, at);
}

void TapLetters(std::u16string_view letters) {
    for (const char16_t c : letters) {
        if (c == u' ') {
            Tap(KeyAction::Space);
        } else {
            Tap(KeyAction::Character, c);
        }
    }
}

// A heading, a line about what shows, and a focused edit with the panel up; false when the
// panel cannot be raised.
bool StartScreen(const Page& page, std::u16string_view heading, std::u16string_view note) {
    WNDCLASSW attributes;
    if (!GetClassInfoW(nullptr, kKeeperClassName, &attributes)) {
        attributes = {};
        attributes.lpfnWndProc = KeeperProcedure;
        attributes.lpszClassName = kKeeperClassName.data();
        RegisterClassW(&attributes);
    }
    CreateWindowExW(0, kKeeperClassName, u"", WS_CHILD, 0, 0, 0, 0, page.window, 0, nullptr,
                    nullptr);
    AddControl(page, kStaticClassName, heading, SS_LEFT, {8, 6, 232, 20}, 0, page.bold);
    AddControl(page, kStaticClassName, note, SS_LEFT, {8, 24, 232, 52});
    const HWND edit = AddControl(page, kEditClassName, u"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
                                 {8, 58, 232, 78});
    SetFocus(edit);
    return SetInputPanel(InputPanelState::Up) && Keyboard();
}

}  // namespace

void BuildRussianKeyboard(const Page& page) {
    if (!StartScreen(page, GalleryText(GalleryTextId::RussianKeyboardHeading),
                     GalleryText(GalleryTextId::RussianKeyboardNote))) {
        return;
    }
    Tap(KeyAction::Shift);
    TapLetters(u"станция ");
    Tap(KeyAction::Shift);
    TapLetters(u"ёлки");
}

void BuildHeldKey(const Page& page) {
    if (!StartScreen(page, GalleryText(GalleryTextId::HeldKeyHeading),
                     GalleryText(GalleryTextId::HeldKeyNote))) {
        return;
    }
    TapLetters(u"метр");
    Press(KeyAction::Character, u'о');
}

void BuildLatinKeyboard(const Page& page) {
    if (!StartScreen(page, GalleryText(GalleryTextId::LatinKeyboardHeading),
                     GalleryText(GalleryTextId::LatinKeyboardNote))) {
        return;
    }
    Tap(KeyAction::NextLayout);
    Tap(KeyAction::Caps);
    TapLetters(u"metro");
    Tap(KeyAction::Space);
}

void BuildSymbolKeyboard(const Page& page) {
    if (!StartScreen(page, GalleryText(GalleryTextId::SymbolKeyboardHeading),
                     GalleryText(GalleryTextId::SymbolKeyboardNote))) {
        return;
    }
    Tap(KeyAction::NextLayout);
    Tap(KeyAction::NextLayout);
    TapLetters(u"2000 (");
    TapLetters(u"№3!)");
}

}  // namespace qv::gallery
