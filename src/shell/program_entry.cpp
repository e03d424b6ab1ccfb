#include "shell/program_entry.h"

#include <array>
#include <cstdio>
#include <string>

#include "framework/frame_window.h"
#include "framework/module_state.h"
#include "platform/controls/common_controls.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/rendezvous/rendezvous.h"
#include "platform/user/api/accelerator_table.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "resources/resource_ids.h"
#include "text/printable.h"

namespace qv {

namespace {

constexpr int kTitleCapacity = 100;
// As long as the rendezvous lets an answer take.
constexpr UINT kHandOverTimeoutMs = 500;

std::u16string LoadTitle(HINSTANCE instance) {
    std::array<char16_t, kTitleCapacity> title{};
    LoadStringW(instance, IDS_TITLE, title.data(), kTitleCapacity);
    return title.data();
}

int RunMessageLoop(HINSTANCE instance) {
    const HACCEL accelerators = LoadAcceleratorsW(instance, IDR_ACCELERATORS);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DestroyAcceleratorTable(accelerators);
    return static_cast<int>(message.wParam);
}

}  // namespace

std::optional<int> HandToRunningInstance(std::u16string_view map) {
    // The class alone: once a map is loaded the running window's title is the network's name,
    // and a second copy must still find it rather than share its settings file.
    const HWND running = FindWindowW(kMainWindowClass, nullptr);
    if (!running) {
        return std::nullopt;
    }
    SetForegroundWindow(running);
    if (map.empty()) {
        return 0;
    }
    const COPYDATASTRUCT copied{kOpenMapDataTag, static_cast<DWORD>(map.size() * sizeof(char16_t)),
                                map.data()};
    LRESULT taken = 0;
    const std::string file = PrintableFileName(map);
    if (!SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copied),
                             SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &taken)) {
        std::fprintf(stderr, "quorvane: the running copy did not answer; %s is not loaded\n",
                     file.c_str());
        return 1;
    }
    if (taken == 0) {
        std::fprintf(stderr, "quorvane: the running copy did not take %s\n", file.c_str());
        return 1;
    }
    return 0;
}

bool CreateMainWindow(MainWindow& window) {
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    const std::u16string title = LoadTitle(CurrentModule()->instance);
    return CreateFrameWindow(window, nullptr, screen, title, WS_VISIBLE | WS_SYSMENU, 0, 0,
                             nullptr) != nullptr;
}

MainWindow* CurrentMainWindow() {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return nullptr;
    }
    const HWND window = system->FindTopLevel(kMainWindowClass, std::nullopt);
    return window ? MainWindow::FromWindow(window) : nullptr;
}

int RunProgram(Host& host, HINSTANCE instance, const ProgramStart& start) {
    static ModuleState module;
    InitModule(&module, instance);
    WindowSystem system(host, {Rendezvous::Open(Rendezvous::DefaultFolder())});
    InstallPocketShell();
    if (const auto handedTo = HandToRunningInstance(start.map)) {
        return *handedTo;
    }
    // The device has its static texts, buttons and edits before any program asks for controls.
    RegisterStandardControls();
    const INITCOMMONCONTROLSEX families{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&families);
    int exitCode = 0;
    {
        MainWindow window(start.map);
        CreateMainWindow(window);
        if (window.hwnd) {
            ShowWindow(window.hwnd, start.showCommand);
        }
        exitCode = RunMessageLoop(instance);
    }
    return exitCode;
}

}  // namespace qv
