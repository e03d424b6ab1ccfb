#include "platform/pocket/shell_execute.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "platform/pocket/child_process.h"
#include "platform/pocket/last_error.h"
#include "text/utf.h"

namespace qv {

namespace {

std::string& Opener() {
    static std::string opener = "xdg-open";
    return opener;
}

BOOL Fail(SHELLEXECUTEINFO* info, DWORD error, INT_PTR shellError) {
    if (info) {
        info->hInstApp = shellError;
    }
    SetLastError(error);
    return 0;
}

bool IsOpenVerb(const char16_t* verb) {
    return !verb || *verb == u'\0' || std::u16string_view(verb) == u"open";
}

bool IsEmpty(const char16_t* text) {
    return !text || *text == u'\0';
}

// The working folder the caller asked for, when this system has it; the device's own folders
// ("\Windows") mean nothing here and are passed over.
std::optional<std::filesystem::path> ExistingFolder(const char16_t* folder) {
    if (IsEmpty(folder)) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::path path(Utf16ToUtf8(folder));
    if (!path.is_absolute() || !std::filesystem::is_directory(path, error)) {
        return std::nullopt;
    }
    return path;
}

}  // namespace

void SetDocumentOpener(std::string_view opener) {
    Opener() = opener;
}

std::string DocumentOpener() {
    return Opener();
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFO) || IsEmpty(info->lpFile) ||
        !IsOpenVerb(info->lpVerb) || !IsEmpty(info->lpParameters)) {
        return Fail(info, ERROR_INVALID_PARAMETER, SE_ERR_NOASSOC);
    }
    const std::u16string_view file(info->lpFile);
    if (FindUnpairedSurrogate(file) != std::u16string_view::npos) {
        return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    }
    std::error_code error;
    // Absolute, so that a name beginning with '-' cannot be read as an option of the opener.
    const std::filesystem::path path = std::filesystem::absolute(Utf16ToUtf8(file), error);
    struct stat status {};
    if (error || ::stat(path.c_str(), &status) != 0) {
        return Fail(info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    }
    const std::optional<std::filesystem::path> opener = FindProgram(Opener());
    if (!opener) {
        return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
    }
    const std::optional<std::filesystem::path> folder = ExistingFolder(info->lpDirectory);
    if (StartDetached(*opener, {path.string()}, folder ? &*folder : nullptr) != 0) {
        return Fail(info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
    }
    info->hInstApp = kShellExecuteSucceeded;
    SetLastError(ERROR_SUCCESS);
    return 1;
}

}  // namespace qv
