#pragma once

#include <string>

#include "platform/gdi/resource_module.h"
#include "platform/host/host.h"
#include "shell/main_window.h"

namespace qv {

// What a start of the program is given beyond its host and module.
struct ProgramStart {
    int showCommand = 5;  // SW_SHOW
    // A map to load as if chosen on the open-file page; empty for the usual start.
    std::u16string map;
};

// The program: the single-instance check, the main window and its message loop, on the host.
// Returns the exit code.
int RunProgram(Host& host, HINSTANCE instance, const ProgramStart& start = {});

// Raises the main window of a copy of the program that is already running; true when there
// was one.
bool FindRunningInstance();
// Makes the main window of the object, full-screen; true when it was made.
bool CreateMainWindow(MainWindow& window);
// The main window of this program, or null.
MainWindow* CurrentMainWindow();

inline constexpr char16_t kMainWindowClass[] = u"QuorvaneWnd";

}  // namespace qv
