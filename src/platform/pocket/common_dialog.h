#pragma once

#include "platform/pocket/file_catalogue.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The open-file dialog's request, as the device's common dialogs define it.
struct OPENFILENAMEW {
    DWORD lStructSize = sizeof(OPENFILENAMEW);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    const char16_t* lpstrFilter = nullptr;
    char16_t* lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;
    char16_t* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    char16_t* lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    const char16_t* lpstrInitialDir = nullptr;
    const char16_t* lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    const char16_t* lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    void* lpfnHook = nullptr;
    const char16_t* lpTemplateName = nullptr;
};

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
inline constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// CommDlgExtendedError's answers.
inline constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
inline constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
inline constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// Lets the user choose an existing file on the open-file page (open_file_page.h), starting in
// lpstrInitialDir ("\My Documents" and its subfolders are the user's documents folder; null is
// that folder too), listing the files that match entry nFilterIndex of lpstrFilter, and at the
// start folder those of the extras' places too, each by its title from the extras. Returns 1 with
// the chosen file's whole path (of this system, '/' separated) in lpstrFile and nFileOffset and
// nFileExtension set; 0 when the page was cancelled (CommDlgExtendedError 0) or failed: a path
// longer than nMaxFile - 1 characters (FNERR_BUFFERTOOSMALL, lpstrFile then empty, never a cut
// path), a request of the wrong size or without a buffer (CDERR_STRUCTSIZE, CDERR_INITIALIZATION),
// hooks, templates or several files asked for, which this page does not offer
// (CDERR_INITIALIZATION), an initial folder of neither kind (FNERR_INVALIDFILENAME), a page that
// could not be made (CDERR_DIALOGFAILURE).
BOOL GetOpenFileNameW(OPENFILENAMEW* request, const OpenFileExtras& extras);
BOOL GetOpenFileNameW(OPENFILENAMEW* request);
DWORD CommDlgExtendedError();

}  // namespace qv
