#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv::gallery {

// What a screen is built on: a full-screen page and the fonts of the program's dialogs.
struct Page {
    HWND window = nullptr;
    HFONT font = nullptr;
    HFONT bold = nullptr;
};

// The buttons that turn the screens in a real window, and the thread message the page posts for
// them (the first parameter 1 for the next screen, 0 for the previous one).
inline constexpr int kPreviousScreen = 901;
inline constexpr int kNextScreen = 902;
inline constexpr UINT kTurnScreen = 0x0400 + 1;

// The page's class: it draws the owner-drawn buttons of its screens, asks for the turn of a
// screen and ends the program when it is closed. Registered in the current window system.
bool RegisterPageClass();
inline constexpr std::u16string_view kPageClassName = u"QvGalleryPage";

// Makes a control of the page in the page's font.
HWND AddControl(const Page& page, std::u16string_view className, std::u16string_view text,
                DWORD style, RECT rect, int id = 0, HFONT font = nullptr);

}  // namespace qv::gallery
