#include <array>
#include <cstdio>
#include <string>

#include "model/map_file.h"
#include "platform/controls/message_box.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"
#include "render/scheme_view.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "text/printable.h"
#include "text/utf.h"

namespace qv {

namespace {

static_assert(kBarHeight == kNavigationBarHeight && kBarHeight == kMenuBarHeight,
              "the view keeps the ends of a route clear of the bars");

// The loader's reason on standard error, so that a map's author can find the fault that the
// box does not name.
void ReportLoadFailure(std::u16string_view path, const MapError& error) {
    const std::string file = PrintableFileName(path);
    if (error.line > 0) {
        std::fprintf(stderr, "quorvane: %s: line %d: %s\n", file.c_str(), error.line,
                     error.reason.c_str());
    } else {
        std::fprintf(stderr, "quorvane: %s: %s\n", file.c_str(), error.reason.c_str());
    }
}

}  // namespace

int MainWindow::BrowseForMapFile(std::span<char16_t> buffer) {
    return ChooseFileToOpen(hwnd, buffer) ? 0 : -1;
}

LRESULT MainWindow::OnLoadMap(const Message&, bool&) {
    std::array<char16_t, kMapPathCapacity> buffer{};
    if (BrowseForMapFile(buffer) == -1) {
        return 0;
    }
    LoadChosenMap(buffer.data());
    return 0;
}

void MainWindow::LoadChosenMap(std::u16string_view path) {
    session_.LeaveMap();
    KillTimer(hwnd, IDT_TOOLTIP);
    KillTimer(hwnd, IDT_BLINK);
    LoadMap(path);
}

void MainWindow::ShowLoadFailure(std::u16string_view path, const MapError& error) {
    ReportLoadFailure(path, error);
    MessageBoxW(nullptr, Text(TextId::MapNotLoaded), Text(TextId::ErrorCaption),
                MB_OK | MB_ICONHAND);
}

bool MainWindow::LoadMap(std::u16string_view path) {
    MapError error;
    const SessionChange change = session_.LoadMap(std::u16string(path), error);
    if (change.noMap) {
        ShowLoadFailure(path, error);
        return false;
    }
    if (change.routeSearched) {
        RestartBlink();
    }
    SetWindowTextW(hwnd, session_.Map()->name);
    InvalidateRect(hwnd, nullptr, 1);
    return true;
}

}  // namespace qv
