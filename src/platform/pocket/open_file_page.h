#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/pocket/file_catalogue.h"
#include "platform/user/api/system_texts.h"
#include "platform/user/records/user_types.h"

namespace qv {

// What the open-file page shows: the files of `startFolder` and its subfolders that match the
// patterns, each row with the file's title (else its name) and its folder, and at the start
// folder the files of the extra places too. Folders are entered with a tap and left with "Up",
// never above the start folder.
struct OpenFilePageSetup {
    std::filesystem::path startFolder;
    FilePatterns patterns;
    OpenFileExtras extras;
    std::u16string title{SystemText(SystemTextId::OpenTitle)};
};

struct OpenFilePageResult {
    bool shown = false;                           // false: the page could not be made
    std::optional<std::filesystem::path> chosen;  // nothing when cancelled
};

// Runs the page over the screen below the navigation bar until a file is tapped (or chosen with
// "ok" or Enter) or the page is cancelled; every other window of the program waits for it. A
// line under the list says when a folder could not be read or not all its files are shown.
OpenFilePageResult RunOpenFilePage(HWND owner, const OpenFilePageSetup& setup);

// The same page as a child of `parent` filling it below the navigation bar, to be looked at: a
// tap on a file chooses nothing. Null when it cannot be made.
HWND CreateOpenFilePage(HWND parent, const OpenFilePageSetup& setup);

// The page's controls; Cancel is IDCANCEL.
inline constexpr int kOpenFileList = 1201;
inline constexpr int kOpenFileUp = 1202;
inline constexpr int kOpenFileFolderText = 1203;
inline constexpr int kOpenFileNote = 1204;
inline constexpr int kOpenFileType = 1205;

}  // namespace qv
