#include "shell/shell_services.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

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

// Until the open-file page is part of the platform, choosing a file is always cancelled.
bool ChooseFileToOpen(HWND, std::span<char16_t> buffer) {
    if (!buffer.empty()) {
        buffer[0] = u'\0';
    }
    return false;
}

bool OpenDocument(std::u16string_view path) {
    const std::string file = Utf16ToUtf8(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    // The opener runs detached: a child starts it and ends at once, and an exec that fails is
    // told back through the pipe, which closes by itself when the exec succeeds.
    const pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", file.c_str(), static_cast<char*>(nullptr));
            const char failed = 1;
            [[maybe_unused]] const auto written = write(report[1], &failed, 1);
        }
        _exit(0);
    }
    close(report[1]);
    bool started = false;
    if (child > 0) {
        waitpid(child, nullptr, 0);
        char failed = 0;
        started = read(report[0], &failed, 1) == 0;
    }
    close(report[0]);
    return started;
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
