#include "shell/main_window.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "dialogs/about_dialog.h"
#include "dialogs/route_details_dialog.h"
#include "dialogs/settings_dialog.h"
#include "dialogs/station_picker.h"
#include "framework/frame_window.h"
#include "platform/controls/message_box.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/menu_bar.h"
#include "platform/user/api/cursor.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "render/gdi_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_renderer.h"
#include "render/scheme_view.h"
#include "resources/main_toolbar.h"
#include "resources/program_images.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "shell/shell_services.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr UINT kBlinkPeriodMs = 500;
// Loads the map another copy handed over, after the handing over has been answered.
constexpr UINT WM_LOAD_HANDED_MAP = WM_APP + 1;

}  // namespace

void WindowRouteFeedback::BeginWait() {
    previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void WindowRouteFeedback::EndWait() {
    SetCursor(previous_);
    previous_ = nullptr;
}

void WindowRouteFeedback::ShowRouteNotFound() {
    MessageBoxW(nullptr, kRouteNotFoundText, kRouteNotFoundCaption, MB_OK | MB_ICONASTERISK);
}

MainWindow::MainWindow() : WindowObject(MainWindowClassRecord()) {}

MainWindow::~MainWindow() {
    DropModel();
}

MainWindow* MainWindow::FromWindow(HWND window) {
    return dynamic_cast<MainWindow*>(
        reinterpret_cast<FrameworkObject*>(GetWindowLongW(window, GWL_USERDATA)));
}

bool MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result, int mapId) {
    static constexpr MessageMapEntry<MainWindow> kMap[] = {
        OnMessage(WM_CREATE, &MainWindow::OnCreate),
        OnMessage(WM_DESTROY, &MainWindow::OnDestroy),
        OnMessage(WM_SIZE, &MainWindow::OnSize),
        OnMessage(WM_PAINT, &MainWindow::OnPaint),
        OnMessage(WM_TIMER, &MainWindow::OnTimer),
        OnMessage(WM_LBUTTONDOWN, &MainWindow::OnPenDown),
        OnMessage(WM_LBUTTONUP, &MainWindow::OnPenUp),
        OnMessage(WM_COPYDATA, &MainWindow::OnCopyData),
        OnMessage(WM_LOAD_HANDED_MAP, &MainWindow::OnLoadHandedMap),
        OnMessage(WM_ENABLE, &MainWindow::OnEnable),
        OnMessage(WM_KEYDOWN, &MainWindow::OnKeyDown),
        OnCommand(ID_ABOUT, &MainWindow::OnAbout),
        OnCommand(ID_EXIT, &MainWindow::OnExit),
        OnCommand(ID_DEPARTURE, &MainWindow::OnDeparture),
        OnCommand(ID_DESTINATION, &MainWindow::OnDestination),
        OnCommand(ID_LOAD_MAP, &MainWindow::OnLoadMap),
        OnCommand(ID_STATION_LIST, &MainWindow::OnStationList),
        OnCommand(ID_CLEAR_STATIONS, &MainWindow::OnClearStations),
        OnCommand(ID_ROUTE_INFO, &MainWindow::OnRouteInfo),
        OnCommand(ID_SETTINGS, &MainWindow::OnSettings),
        OnCommand(ID_FORBIDDEN_STATION, &MainWindow::OnForbiddenStation),
        OnCommand(ID_SCALE, &MainWindow::OnScale),
        OnCommand(ID_HELP, &MainWindow::OnHelp),
    };
    return DispatchMessageMap<MainWindow>(*this, kMap, {window, message, wParam, lParam}, result,
                                          mapId);
}

HWND MainWindow::CreateMenuBar(int menuBarId) {
    SHMENUBARINFO info;
    info.hwndParent = hwnd;
    info.nToolBarId = static_cast<UINT>(menuBarId);
    info.hInstRes = ProgramModule();
    menuBar = SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
    return menuBar;
}

LRESULT MainWindow::OnCreate(const Message&, bool&) {
    if (CallDefaultProcedure(*this) == -1) {
        return -1;
    }
    if (!CreateMenuBar(IDR_MENUBAR)) {
        return -1;
    }
    SendMessageW(menuBar, TB_SETTOOLTIPS, std::size(kMainToolbarTooltips),
                 PointerParam(kMainToolbarTooltips));
    CommandBar_AddBitmap(menuBar, ProgramModule(), IDB_TOOLBAR, kMainToolbarImageCount,
                         kToolbarImageSize, kToolbarImageSize);
    SendMessageW(menuBar, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                 PointerParam(kMainToolbarButtons.data()));
    icon_.reset(LoadIconW(ProgramModule(), IDI_APP));
    if (icon_) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, PointerParam(icon_.get()));
    }
    [[maybe_unused]] const int read = LoadSettings(settings);
    if (!startMap.empty()) {
        // As if chosen on the open-file page: nothing of the previous map is restored.
        ForgetRememberedPlaces();
        settings.mapPath = std::exchange(startMap, {});
    } else if (settings.mapPath.empty()) {
        std::array<char16_t, kMapPathCapacity> buffer{};
        if (BrowseForMapFile(buffer) == -1) {
            return -1;
        }
        settings.mapPath = buffer.data();
    }
    blinkOn = false;
    LoadMap(settings.mapPath);
    ShowWindow(hwnd, SW_SHOW);
    return 0;
}

LRESULT MainWindow::OnCopyData(const Message& message, bool&) {
    const auto* copied = reinterpret_cast<const COPYDATASTRUCT*>(message.lParam);
    if (!copied || copied->dwData != kOpenMapDataTag || !copied->lpData || copied->cbData == 0 ||
        copied->cbData % sizeof(char16_t) != 0 ||
        copied->cbData / sizeof(char16_t) >= kMapPathCapacity) {
        return 0;
    }
    std::u16string path(copied->cbData / sizeof(char16_t), u'\0');
    std::memcpy(path.data(), copied->lpData, copied->cbData);
    if (path.find(u'\0') != std::u16string::npos) {
        return 0;
    }
    handedMap_ = std::move(path);
    PostMessageW(hwnd, WM_LOAD_HANDED_MAP, 0, 0);
    return 1;
}

LRESULT MainWindow::OnLoadHandedMap(const Message&, bool&) {
    if (!handedMap_.empty() && IsWindowEnabled(hwnd)) {
        LoadChosenMap(std::exchange(handedMap_, {}));
    }
    return 0;
}

LRESULT MainWindow::OnEnable(const Message& message, bool& handled) {
    if (message.wParam != 0 && !handedMap_.empty()) {
        PostMessageW(hwnd, WM_LOAD_HANDED_MAP, 0, 0);
    }
    handled = false;
    return 0;
}

LRESULT MainWindow::OnKeyDown(const Message& message, bool& handled) {
    // The menu bar is the window's menu, and F10 hands it the keys as a menu's key would.
    if (message.wParam != VK_F10 || !menuBar) {
        handled = false;
        return 0;
    }
    SendMessageW(menuBar, WM_KEYDOWN, message.wParam, message.lParam);
    return 0;
}

LRESULT MainWindow::OnDestroy(const Message&, bool&) {
    CallDefaultProcedure(*this);
    PostQuitMessage(0);
    return 0;
}

LRESULT MainWindow::OnSize(const Message&, bool&) {
    CallDefaultProcedure(*this);
    return 0;
}

void MainWindow::PaintNow(HDC dc) {
    if (!model) {
        return;
    }
    GdiSurface surface(dc, ProgramModule());
    int counter = routeLabelCounter;
    PaintScheme(*model, LOGFONTW{}, surface, blinkOn, counter);
    routeLabelCounter = counter;
}

LRESULT MainWindow::OnPaint(const Message&, bool&) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    PaintNow(dc);
    EndPaint(hwnd, &paint);
    return 0;
}

void MainWindow::Repaint() {
    RECT client;
    GetClientRect(hwnd, &client);
    InvalidateRect(hwnd, &client, 0);
}

LRESULT MainWindow::OnTimer(const Message& message, bool&) {
    switch (TimerId(message)) {
        case IDT_TOOLTIP:
            if (model) {
                model->hotStation = nullptr;
            }
            Repaint();
            KillTimer(hwnd, IDT_TOOLTIP);
            break;
        case IDT_BLINK:
            blinkOn = !blinkOn;
            if (!settings.routeBlink && !blinkOn) {
                break;
            }
            Repaint();
            if (blinkOn) {
                ++routeLabelCounter;
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT MainWindow::OnPenDown(const Message& message, bool&) {
    const POINT position = PenPosition(message);
    tapDownX = position.x;
    tapDownY = position.y;
    return 0;
}

LRESULT MainWindow::OnPenUp(const Message& message, bool&) {
    if (!model) {
        return 0;
    }
    const POINT up = PenPosition(message);
    if (up.x != tapDownX || up.y != tapDownY) {
        PanView(*model, up.x - tapDownX, up.y - tapDownY);
    }
    model->hotStation = nullptr;
    model->hotStation = HitTest(*model, up.x, up.y);
    Repaint();
    if (model->hotStation) {
        SetTimer(hwnd, IDT_TOOLTIP, static_cast<UINT>(settings.tooltipMs), nullptr);
    }
    return 0;
}

void MainWindow::StartBlinkTimer() {
    if (model && (model->settings.routeShowStations || model->settings.routeBlink)) {
        SetTimer(hwnd, IDT_BLINK, kBlinkPeriodMs, nullptr);
    }
}

void MainWindow::RecomputeRoute() {
    FindRoute(*model, feedback_);
    blinkOn = true;
    routeLabelCounter = 1;
    StartBlinkTimer();
}

LRESULT MainWindow::ChooseEnd(Station* NetworkModel::*end, std::int32_t Settings::*savedIndex,
                              Station* NetworkModel::*otherEnd) {
    if (!model) {
        return -1;
    }
    Station* hot = model->hotStation;
    if (!hot || hot->kind != kStationKind) {
        return 0;
    }
    (*model).*end = hot;
    settings.*savedIndex = hot->index;
    [[maybe_unused]] const int saved = SaveSettings(settings);
    DiscardSchemeImage(*model);
    if ((*model).*otherEnd) {
        RecomputeRoute();
    }
    Repaint();
    return 0;
}

LRESULT MainWindow::OnDeparture(const Message&, bool&) {
    return ChooseEnd(&NetworkModel::departure, &Settings::departureIndex,
                     &NetworkModel::destination);
}

LRESULT MainWindow::OnDestination(const Message&, bool&) {
    return ChooseEnd(&NetworkModel::destination, &Settings::destinationIndex,
                     &NetworkModel::departure);
}

LRESULT MainWindow::OnClearStations(const Message&, bool&) {
    if (!model) {
        return -1;
    }
    DiscardSchemeImage(*model);
    model->departure = nullptr;
    model->destination = nullptr;
    model->ClearRoute();
    settings.departureIndex = -1;
    settings.destinationIndex = -1;
    [[maybe_unused]] const int saved = SaveSettings(settings);
    KillTimer(hwnd, IDT_BLINK);
    Repaint();
    return 0;
}

LRESULT MainWindow::OnForbiddenStation(const Message&, bool&) {
    if (!model) {
        return -1;
    }
    if (!model->hotStation || !ToggleForbidden(*model->hotStation)) {
        return 0;
    }
    DiscardSchemeImage(*model);
    if (model->departure && model->destination) {
        RecomputeRoute();
    }
    Repaint();
    return 0;
}

LRESULT MainWindow::OnScale(const Message&, bool&) {
    if (model) {
        if (!ToggleZoom(*model)) {
            return 0;
        }
        settings.savedZoom = model->zoomed ? model->zoomFactor : 1;
        model->AdoptSettings(settings);
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    PaintNow(dc);
    EndPaint(hwnd, &paint);
    Repaint();
    return 0;
}

std::u16string HelpFilePath(std::u16string_view executableFolder) {
    constexpr std::u16string_view kBeside = u"help/quorvane.html";
    constexpr std::u16string_view kInstalled = u"../share/quorvane/help/quorvane.html";
    const std::u16string beside = std::u16string(executableFolder) + std::u16string(kBeside);
    std::error_code error;
    if (std::filesystem::exists(Utf16ToUtf8(beside), error)) {
        return beside;
    }
    const std::u16string installed = std::u16string(executableFolder) + std::u16string(kInstalled);
    return std::filesystem::exists(Utf16ToUtf8(installed), error) ? installed : beside;
}

LRESULT MainWindow::OnHelp(const Message&, bool&) {
    const std::u16string folder = ExecutableFolder();
    if (folder.empty() || !OpenDocument(HelpFilePath(folder))) {
        MessageBoxW(nullptr, u"Ошибка", u"Ошибка", MB_OK | MB_ICONHAND);
    }
    return 0;
}

LRESULT MainWindow::OnExit(const Message&, bool&) {
    if (model) {
        settings.savedZoom = model->zoomed ? model->zoomFactor : 1;
        settings.savedViewX = model->viewX;
        settings.savedViewY = model->viewY;
        [[maybe_unused]] const int saved = SaveSettings(settings);
    }
    DestroyWindow(hwnd);
    return 0;
}

LRESULT MainWindow::OnStationList(const Message&, bool&) {
    if (!model) {
        return -1;
    }
    ShowStationPicker(hwnd, *model, settings.pickerMode);
    DiscardSchemeImage(*model);
    if (model->departure && model->destination) {
        settings.departureIndex = model->departure->index;
        settings.destinationIndex = model->destination->index;
        [[maybe_unused]] const int saved = SaveSettings(settings);
        RecomputeRoute();
    } else {
        // An end the picker removed takes the route with it.
        model->ClearRoute();
        KillTimer(hwnd, IDT_BLINK);
        Repaint();
    }
    return 0;
}

LRESULT MainWindow::OnRouteInfo(const Message&, bool&) {
    if (!model) {
        return -1;
    }
    if (!model->route.empty()) {
        ShowRouteDetails(hwnd, *model);
    }
    return 0;
}

LRESULT MainWindow::OnSettings(const Message&, bool&) {
    const bool showNames = settings.showStationNames;
    const bool routeLine = settings.routeShowLine;
    const bool routeBlink = settings.routeBlink;
    ShowSettingsDialog(hwnd);
    // The page hands its result over through the file, after OK and after Cancel alike.
    [[maybe_unused]] const int read = LoadSettings(settings);
    if (!model) {
        return 0;
    }
    if (settings.showStationNames != showNames || settings.routeShowLine != routeLine ||
        settings.routeBlink != routeBlink) {
        DiscardSchemeImage(*model);
    }
    model->AdoptSettings(settings);
    if (model->departure && model->destination) {
        RecomputeRoute();
    } else {
        KillTimer(hwnd, IDT_BLINK);
    }
    return 0;
}

LRESULT MainWindow::OnAbout(const Message&, bool&) {
    ShowAboutBox(hwnd);
    return 0;
}

void MainWindow::DropModel() {
    if (model) {
        model->Clear();
        model.reset();
    }
}

}  // namespace qv
