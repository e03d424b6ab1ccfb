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
#include "resources/main_toolbar.h"
#include "resources/program_images.h"
#include "resources/program_resources.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "shell/shell_services.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr UINT kBlinkPeriodMs = 500;
// How far one notch of the wheel moves a zoomed view, in the window's pixels.
constexpr std::int32_t kWheelStep = 20;
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
    MessageBoxW(nullptr, Text(TextId::RouteNotFound), Text(TextId::InformationCaption),
                MB_OK | MB_ICONASTERISK);
}

MainWindow::MainWindow(std::u16string startMap)
    : WindowObject(MainWindowClassRecord()),
      session_(GetSettingsPath(), feedback_),
      startMap_(std::move(startMap)) {}

MainWindow::~MainWindow() = default;

MainWindow* MainWindow::FromWindow(HWND window) {
    return dynamic_cast<MainWindow*>(
        reinterpret_cast<FrameworkObject*>(GetWindowLongW(window, GWL_USERDATA)));
}

ProgramSnapshot MainWindow::Snapshot() const {
    return {session_.Snapshot(), blinkOn_, routeLabelCounter_};
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
        OnMessage(WM_MOUSEWHEEL, &MainWindow::OnWheel),
        OnMessage(WM_MOUSEHWHEEL, &MainWindow::OnHorizontalWheel),
        OnMessage(WM_DROPFILES, &MainWindow::OnDropFiles),
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
    menuBar_ = SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
    return menuBar_;
}

LRESULT MainWindow::OnCreate(const Message&, bool&) {
    if (CallDefaultProcedure(*this) == -1) {
        return -1;
    }
    if (!CreateMenuBar(IDR_MENUBAR)) {
        return -1;
    }
    SendMessageW(menuBar_, TB_SETTOOLTIPS, std::size(kMainToolbarTooltips),
                 PointerParam(kMainToolbarTooltips));
    CommandBar_AddBitmap(menuBar_, ProgramModule(), IDB_TOOLBAR, kMainToolbarImageCount,
                         kToolbarImageSize, kToolbarImageSize);
    SendMessageW(menuBar_, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                 PointerParam(kMainToolbarButtons.data()));
    icon_.reset(LoadIconW(ProgramModule(), IDI_APP));
    if (icon_) {
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, PointerParam(icon_.get()));
    }
    std::u16string map = session_.Begin(std::exchange(startMap_, {}));
    if (map.empty()) {
        std::array<char16_t, kMapPathCapacity> buffer{};
        if (BrowseForMapFile(buffer) == -1) {
            return -1;
        }
        map = buffer.data();
        session_.NameMap(map);
    }
    blinkOn_ = false;
    LoadMap(map);
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
    return HandOverMap(std::move(path), false) ? 1 : 0;
}

LRESULT MainWindow::OnDropFiles(const Message& message, bool&) {
    const auto* dropped = PointerFromParam<const DROPPEDFILE>(message.lParam);
    if (dropped && dropped->path && dropped->length < kMapPathCapacity) {
        HandOverMap(std::u16string(dropped->path, dropped->length), true);
    }
    return 0;
}

bool MainWindow::HandOverMap(std::u16string path, bool dropped) {
    if (path.empty() || path.size() >= kMapPathCapacity ||
        path.find(u'\0') != std::u16string::npos) {
        return false;
    }
    handedMap_ = std::move(path);
    handedDropped_ = dropped;
    PostMessageW(hwnd, WM_LOAD_HANDED_MAP, 0, 0);
    return true;
}

LRESULT MainWindow::OnLoadHandedMap(const Message&, bool&) {
    if (handedMap_.empty() || !IsWindowEnabled(hwnd)) {
        return 0;
    }
    const std::u16string path = std::exchange(handedMap_, {});
    MapError error;
    if (handedDropped_ && session_.Map() && !session_.CanLoadMap(path, error)) {
        ShowLoadFailure(path, error);
        return 0;
    }
    LoadChosenMap(path);
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
    if (message.wParam != VK_F10 || !menuBar_) {
        handled = false;
        return 0;
    }
    SendMessageW(menuBar_, WM_KEYDOWN, message.wParam, message.lParam);
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
    NetworkModel* map = session_.Map();
    if (!map) {
        return;
    }
    GdiSurface surface(dc, ProgramModule());
    int counter = routeLabelCounter_;
    PaintScheme(*map, LOGFONTW{}, surface, blinkOn_, counter);
    routeLabelCounter_ = counter;
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
            session_.DropPick();
            Repaint();
            KillTimer(hwnd, IDT_TOOLTIP);
            break;
        case IDT_BLINK:
            blinkOn_ = !blinkOn_;
            if (!session_.CurrentSettings().routeBlink && !blinkOn_) {
                break;
            }
            Repaint();
            if (blinkOn_) {
                ++routeLabelCounter_;
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT MainWindow::OnPenDown(const Message& message, bool&) {
    const POINT position = PenPosition(message);
    tapDownX_ = position.x;
    tapDownY_ = position.y;
    return 0;
}

LRESULT MainWindow::OnPenUp(const Message& message, bool&) {
    const POINT up = PenPosition(message);
    const SessionChange change = session_.Tap(tapDownX_, tapDownY_, up.x, up.y);
    if (change.noMap) {
        return 0;
    }
    Repaint();
    if (change.picked) {
        SetTimer(hwnd, IDT_TOOLTIP, static_cast<UINT>(session_.CurrentSettings().tooltipMs),
                 nullptr);
    }
    return 0;
}

LRESULT MainWindow::OnWheel(const Message& message, bool&) {
    const int delta = static_cast<SHORT>(HIWORD(message.wParam));
    const WPARAM keys = LOWORD(message.wParam);
    if ((keys & MK_CONTROL) != 0) {
        // Up zooms in and down zooms out, each only from the other state.
        const NetworkModel* map = session_.Map();
        if (map && delta != 0 && (delta > 0) != map->zoomed) {
            SendMessageW(hwnd, WM_COMMAND, ID_SCALE, 0);
        }
        return 0;
    }
    const std::int32_t step = delta * kWheelStep / WHEEL_DELTA;
    if ((keys & MK_SHIFT) != 0) {
        Pan(step, 0);
    } else {
        Pan(0, step);
    }
    return 0;
}

LRESULT MainWindow::OnHorizontalWheel(const Message& message, bool&) {
    const int delta = static_cast<SHORT>(HIWORD(message.wParam));
    Pan(-delta * kWheelStep / WHEEL_DELTA, 0);
    return 0;
}

void MainWindow::Pan(std::int32_t dx, std::int32_t dy) {
    if (session_.Pan(dx, dy).view) {
        Repaint();
    }
}

void MainWindow::StartBlinkTimer() {
    if (session_.RouteAnimated()) {
        SetTimer(hwnd, IDT_BLINK, kBlinkPeriodMs, nullptr);
    }
}

void MainWindow::RestartBlink() {
    blinkOn_ = true;
    routeLabelCounter_ = 1;
    StartBlinkTimer();
}

LRESULT MainWindow::ShowEndsChange(const SessionChange& change) {
    if (change.noMap) {
        return -1;
    }
    if (!change.ends && !change.forbidden) {
        return 0;
    }
    if (change.routeSearched) {
        RestartBlink();
    }
    Repaint();
    return 0;
}

LRESULT MainWindow::OnDeparture(const Message&, bool&) {
    return ShowEndsChange(session_.ChooseDeparture());
}

LRESULT MainWindow::OnDestination(const Message&, bool&) {
    return ShowEndsChange(session_.ChooseDestination());
}

LRESULT MainWindow::OnClearStations(const Message&, bool&) {
    if (session_.ClearStations().noMap) {
        return -1;
    }
    KillTimer(hwnd, IDT_BLINK);
    Repaint();
    return 0;
}

LRESULT MainWindow::OnForbiddenStation(const Message&, bool&) {
    return ShowEndsChange(session_.ToggleForbiddenStation());
}

LRESULT MainWindow::OnScale(const Message&, bool&) {
    // Without a map the empty window is painted anew all the same.
    const SessionChange change = session_.ToggleScale();
    if (!change.noMap && !change.scale) {
        return 0;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    PaintNow(dc);
    EndPaint(hwnd, &paint);
    Repaint();
    return 0;
}

std::u16string HelpFilePath(std::u16string_view executableFolder) {
    const std::u16string page(Text(TextId::HelpPage));
    const std::u16string beside = std::u16string(executableFolder) + u"help/" + page;
    std::error_code error;
    if (std::filesystem::exists(Utf16ToUtf8(beside), error)) {
        return beside;
    }
    const std::u16string installed =
        std::u16string(executableFolder) + u"../share/quorvane/help/" + page;
    return std::filesystem::exists(Utf16ToUtf8(installed), error) ? installed : beside;
}

LRESULT MainWindow::OnHelp(const Message&, bool&) {
    const std::u16string folder = ExecutableFolder();
    if (folder.empty() || !OpenDocument(HelpFilePath(folder))) {
        MessageBoxW(nullptr, Text(TextId::HelpNotOpened), Text(TextId::ErrorCaption),
                    MB_OK | MB_ICONHAND);
    }
    return 0;
}

LRESULT MainWindow::OnExit(const Message&, bool&) {
    session_.SaveView();
    DestroyWindow(hwnd);
    return 0;
}

LRESULT MainWindow::OnStationList(const Message&, bool&) {
    NetworkModel* map = session_.Map();
    if (!map) {
        return -1;
    }
    ShowStationPicker(hwnd, *map, session_.CurrentSettings().pickerMode);
    if (session_.TakePickerEnds().routeSearched) {
        RestartBlink();
    } else {
        KillTimer(hwnd, IDT_BLINK);
        Repaint();
    }
    return 0;
}

LRESULT MainWindow::OnRouteInfo(const Message&, bool&) {
    const NetworkModel* map = session_.Map();
    if (!map) {
        return -1;
    }
    if (!map->route.empty()) {
        ShowRouteDetails(hwnd, *map);
    }
    return 0;
}

LRESULT MainWindow::OnSettings(const Message&, bool&) {
    ShowSettingsDialog(hwnd);
    // The page hands its result over through the file, after OK and after Cancel alike.
    const SessionChange change = session_.ReloadSettings();
    if (change.routeSearched) {
        RestartBlink();
    } else if (change.noRoute) {
        KillTimer(hwnd, IDT_BLINK);
    }
    return 0;
}

LRESULT MainWindow::OnAbout(const Message&, bool&) {
    ShowAboutBox(hwnd);
    return 0;
}

}  // namespace qv
