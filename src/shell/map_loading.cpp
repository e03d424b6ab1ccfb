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
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
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

void MainWindow::ForgetRememberedPlaces() {
    settings.savedViewX = 0;
    settings.departureIndex = -1;
    settings.destinationIndex = -1;
    settings.savedZoom = 1;
    settings.savedViewY = 0;
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
    if (model) {
        model->departure = nullptr;
        model->destination = nullptr;
        model->ClearRoute();
    }
    ForgetRememberedPlaces();
    [[maybe_unused]] const int saved = SaveSettings(settings);
    KillTimer(hwnd, IDT_TOOLTIP);
    KillTimer(hwnd, IDT_BLINK);
    LoadMap(path);
}

bool MainWindow::LoadMap(std::u16string_view path) {
    DropModel();
    model = std::make_unique<NetworkModel>();
    MapError error;
    if (LoadMapFile(*model, path, settings, &error) != 0) {
        DropModel();
        ReportLoadFailure(path, error);
        MessageBoxW(nullptr, u"Старый формат схемы", u"Ошибка", MB_OK | MB_ICONHAND);
        return false;
    }
    if (model->destination && model->departure) {
        RecomputeRoute();
    }
    SetWindowTextW(hwnd, model->name);
    // The path may be the settings' own, so it is copied before the record changes.
    settings.mapPath = std::u16string(path);
    [[maybe_unused]] const int saved = SaveSettings(settings);
    if (settings.savedZoom > 1) {
        CentreView(*model, settings.savedZoom);
    }
    if (settings.savePosition) {
        model->viewX = settings.savedViewX;
        model->viewY = settings.savedViewY;
    }
    InvalidateRect(hwnd, nullptr, 1);
    return true;
}

}  // namespace qv
