#include "platform/pocket/shell_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/pocket/child_process.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr std::u16string_view kMyDocuments = u"\\My Documents";
constexpr std::chrono::milliseconds kLookupLimit{2000};

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) {
        return user->pw_dir;
    }
    return "/";
}

std::filesystem::path DocumentsFolder() {
    if (const std::optional<std::filesystem::path> lookup = FindProgram("xdg-user-dir")) {
        if (std::optional<std::string> answer =
                RunForOutput(*lookup, {"DOCUMENTS"}, 4096, kLookupLimit)) {
            while (!answer->empty() && (answer->back() == '\n' || answer->back() == '\r')) {
                answer->pop_back();
            }
            if (!answer->empty() && answer->front() == '/' && IsFolder(*answer)) {
                return *answer;
            }
        }
    }
    return HomeFolder();
}

std::optional<ShellFolders>& Overridden() {
    static std::optional<ShellFolders> folders;
    return folders;
}

}  // namespace

const ShellFolders& CurrentShellFolders() {
    if (Overridden()) {
        return *Overridden();
    }
    static const ShellFolders found = LookUpShellFolders();
    return found;
}

ShellFolders LookUpShellFolders() {
    return {DocumentsFolder()};
}

void OverrideShellFolders(std::optional<ShellFolders> folders) {
    Overridden() = std::move(folders);
}

std::optional<std::filesystem::path> SystemFolder(std::u16string_view devicePath,
                                                  const ShellFolders& folders) {
    if (FindUnpairedSurrogate(devicePath) != std::u16string_view::npos) {
        return std::nullopt;
    }
    if (devicePath.starts_with(u"/")) {
        std::filesystem::path path =
            std::filesystem::path(Utf16ToUtf8(devicePath)).lexically_normal();
        // A folder is named by its name, not by "name/", so that pages can show it.
        return path.has_filename() || !path.has_relative_path() ? path : path.parent_path();
    }
    if (!devicePath.starts_with(kMyDocuments)) {
        return std::nullopt;
    }
    std::u16string_view rest = devicePath.substr(kMyDocuments.size());
    if (!rest.empty() && rest.front() != u'\\') {
        return std::nullopt;  // "\My Documents2" is another folder
    }
    std::filesystem::path path = folders.documents;
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const std::size_t end = rest.find(u'\\');
        const std::u16string_view part = rest.substr(0, end);
        if (part == u".." || part.find(u'/') != std::u16string_view::npos) {
            return std::nullopt;  // nothing outside the documents folder is meant
        }
        if (!part.empty() && part != u".") {
            path /= Utf16ToUtf8(part);
        }
        rest = end == std::u16string_view::npos ? std::u16string_view{} : rest.substr(end);
    }
    return path;
}

}  // namespace qv
