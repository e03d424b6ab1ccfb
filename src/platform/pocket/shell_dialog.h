#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

struct SHINITDLGINFO {
    DWORD dwMask = 0;
    HWND hDlg = nullptr;
    DWORD dwFlags = 0;
};

inline constexpr DWORD SHIDIM_FLAGS = 0x0001;

inline constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
inline constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
inline constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
inline constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
inline constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;

// The property that marks a dialog whose navigation bar shows the "ok" button sending IDOK.
inline constexpr std::u16string_view kDoneButtonProperty = u"qv.shell.doneButton";

// Sets a dialog up as the device's shell does: SHIDIF_SIPDOWN lowers the input panel; the
// dialog is sized as a page below the navigation bar (SHIDIF_SIZEDLG leaves the menu bar free,
// SHIDIF_SIZEDLGFULLSCREEN and SHIDIF_FULLSCREENNOMENUBAR take the room down to the bottom),
// kept above the input panel while it is up (shell_pages); its caption bar goes, as the
// navigation bar shows its title; and it is marked for the "ok" button (SHIDIF_DONEBUTTON).
BOOL SHInitDialog(SHINITDLGINFO* info);

}  // namespace qv
