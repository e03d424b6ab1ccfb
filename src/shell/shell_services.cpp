#include "shell/shell_services.h"

#include <filesystem>
#include <system_error>

#include "platform/pocket/common_dialog.h"
#include "platform/pocket/shell_execute.h"
#include "platform/user/default_window_procedure.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_styles.h"
#include "text/utf.h"

namespace qv {

// Until the shell's bar is part of the platform, the bar is a hidden window of the program that
// takes the toolbar's messages and ignores them; the commands reach the window through the
// accelerators and the script's commands.
HWND CreateShellMenuBar(HWND owner, HINSTANCE module, int) {
    constexpr char16_t kClass[] = u"QvMenuBarStandIn";
    if (!owner) {
        return nullptr;
    }
    WNDCLASSW attributes;
    if (!GetClassInfoW(module, ClassAtomOrName(kClass), &attributes)) {
        attributes.lpfnWndProc = DefWindowProcW;
        attributes.hInstance = module;
        attributes.lpszClassName = kClass;
        if (!RegisterClassW(&attributes)) {
            return nullptr;
        }
    }
    return CreateWindowExW(0, ClassAtomOrName(kClass), u"", WS_POPUP, 0, 0, 0, 0, owner, 0, module,
                           nullptr);
}

void SetMenuBarTooltips(HWND, std::span<const char16_t* const>) {}

int AddMenuBarImages(HWND, HINSTANCE, int, int, int, int) {
    return -1;
}

void AddMenuBarButtons(HWND, std::span<const ToolbarButton>) {}

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
    return GetOpenFileNameW(&request) != 0;
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
