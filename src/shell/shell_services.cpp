#include "shell/shell_services.h"

#include <filesystem>
#include <system_error>

#include "platform/pocket/common_dialog.h"
#include "platform/pocket/shell_execute.h"
#include "shell/program_maps.h"
#include "text/utf.h"

namespace qv {

bool ChooseFileToOpen(HWND owner, std::span<char16_t> buffer) {
    // Two strings, each ended by a null, and a further null after the last (the literal's own).
    static constexpr char16_t kFilter[] = u"Quorvane (*.qvn)\0*.qvn\0";
    if (buffer.empty()) {
        return false;
    }
    buffer[0] = u'\0';
    OPENFILENAMEW request;
    request.hwndOwner = owner;
    request.lpstrFilter = kFilter;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    request.lpstrInitialDir = u"\\My Documents";
    return GetOpenFileNameW(&request, MapFileExtras()) != 0;
}

bool OpenDocument(std::u16string_view path) {
    const std::u16string file(path);
    SHELLEXECUTEINFO info;
    info.lpFile = file.c_str();
    info.lpDirectory = u"\\Windows";
    info.nShow = 0;
    return ShellExecuteEx(&info) != 0;
}

std::u16string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !self.has_parent_path()) {
        return {};
    }
    return Utf8ToUtf16((self.parent_path() / "").string()).value_or(u"");
}

}  // namespace qv
