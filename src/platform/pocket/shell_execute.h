#pragma once

#include <string>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const char16_t* lpVerb = nullptr;
    const char16_t* lpFile = nullptr;
    const char16_t* lpParameters = nullptr;
    const char16_t* lpDirectory = nullptr;
    int nShow = 0;
    // After a failure, one of the SE_ERR_ values; above 32 after success.
    INT_PTR hInstApp = 0;
};

inline constexpr INT_PTR SE_ERR_FNF = 2;
inline constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;
inline constexpr INT_PTR SE_ERR_NOASSOC = 31;
inline constexpr INT_PTR kShellExecuteSucceeded = 33;

// Opens a document with the desktop's opener, as the device's shell opens it with the program
// registered for its kind. Only the "open" verb (or none) and no parameters are offered. The
// opener gets the file's absolute path as its one argument and runs detached from this program.
// Returns 1 once the opener runs; 0 with GetLastError and hInstApp saying why when the file is
// missing (ERROR_FILE_NOT_FOUND), no opener can be found or started (ERROR_NO_ASSOCIATION) or the
// request is not one of those offered (ERROR_INVALID_PARAMETER).
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);

// The opener's program name (searched on PATH) or path; "xdg-open" unless changed.
void SetDocumentOpener(std::string_view opener);
std::string DocumentOpener();

}  // namespace qv
