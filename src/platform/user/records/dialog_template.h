#pragma once

#include <span>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// The class of dialog windows; its procedure is DefDlgProcW.
inline constexpr std::u16string_view kDialogClassName = u"#32770";

// One control of a dialog template. Positions are in dialog units: a quarter of the dialog
// font's average character width across, an eighth of its height down.
struct DialogItemTemplate {
    std::u16string_view className;
    std::u16string_view text;
    WORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
};

// A dialog as the program's resources describe it.
struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    std::u16string_view caption;
    std::u16string_view fontName;  // empty: the system font
    WORD pointSize = 0;
    std::span<const DialogItemTemplate> items;
};

}  // namespace qv
