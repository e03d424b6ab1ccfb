#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Raises the main window of a copy of the program that is already running and hands it the map,
// when one is given, to load. This copy's exit code when there was one: 0 once the running copy
// has taken the map (or only raised without one), 1 when it did not answer in time or refused
// the map, which is then said on standard error.
std::optional<int> HandToRunningInstance(std::u16string_view map);
// Makes the main window of the object, full-screen; true when it was made.
bool CreateMainWindow(MainWindow& window);
// The main window of this program, or null.
MainWindow* CurrentMainWindow();

inline constexpr char16_t kMainWindowClass[] = u"QuorvaneWnd";

}  // namespace qv
