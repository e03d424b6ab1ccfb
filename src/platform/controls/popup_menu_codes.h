#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// TrackPopupMenuEx flags: where the menu lies against the point, and what the choice does.
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_HORIZONTAL = 0x0000;
inline constexpr UINT TPM_VERTICAL = 0x0040;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// A rectangle of the screen the menu should not cover (the button that opened it, say).
struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude{};
};

// The class of popup menu windows, and the messages they answer.
inline constexpr std::u16string_view kPopupMenuClassName = u"#32768";
// The menu the window shows.
inline constexpr UINT MN_GETHMENU = 0x01E1;
// Highlights the item at the position of the first parameter (-1: none); 0 when that item
// cannot be chosen.
inline constexpr UINT MN_SELECTITEM = 0x01E5;

}  // namespace qv
