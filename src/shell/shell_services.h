#pragma once

// The shell services the main window asks for with fixed parameters: the open-file page for
// maps and the launch of a document.

#include <span>
#include <string>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// The open-file page for map files (GetOpenFileNameW) with the filter "Quorvane (*.qvn)", the
// user's documents as the first folder and the program's maps beside them. True with the chosen
// path in `buffer`; false when the user cancelled or the page failed, `buffer` then empty.
bool ChooseFileToOpen(HWND owner, std::span<char16_t> buffer);

// Opens the document with the desktop's default action (ShellExecuteEx); false when that failed.
bool OpenDocument(std::u16string_view path);

// The folder of the running executable, ending in '/'; empty when it cannot be told.
std::u16string ExecutableFolder();

}  // namespace qv
