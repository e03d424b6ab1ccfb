#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace qv {

// The folders the device's shell names, as this machine has them.
struct ShellFolders {
    // "\My Documents": the user's documents folder.
    std::filesystem::path documents;
};

// This machine's folders: the documents folder as `xdg-user-dir DOCUMENTS` names it (the home
// folder when that fails).
ShellFolders LookUpShellFolders();
// The folders looked up once for the whole run, or those given to OverrideShellFolders.
const ShellFolders& CurrentShellFolders();
// Puts folders in the place of those looked up (tests, pictures) until it is given nothing.
void OverrideShellFolders(std::optional<ShellFolders> folders);

// The folder of this system a device path stands for: "\My Documents" and what lies below it
// in the documents folder, an absolute path of this system as it is. Nothing for any other
// device path.
std::optional<std::filesystem::path> SystemFolder(std::u16string_view devicePath,
                                                  const ShellFolders& folders);

}  // namespace qv
