// quorvane-window-demo [--window] [--] PREFIX: a full-screen window of the framework with a painted
// scheme, a timer that ticks every half second and message boxes over it. Headless it plays a
// short script on the virtual clock and writes PREFIX-window.png, PREFIX-information.png,
// PREFIX-stop.png and PREFIX-after.png; with --window it runs in a real window until closed.

#include <memory>
#include <string>

#include "command_line.h"
#include "framework/frame_window.h"
#include "framework/message_map.h"
#include "framework/module_state.h"
#include "framework/window_object.h"
#include "platform/controls/message_box.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/host/headless_host.h"
#include "platform/host/sdl_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_styles.h"
#include "resources/program_resources.h"
#include "text/printable.h"

namespace {

using namespace qv;

constexpr tools::OptionRule kOptions[] = {{"--window", 0}};
constexpr tools::ToolSyntax kSyntax{
    "quorvane-window-demo",
    "Usage: quorvane-window-demo [--window] [--] PREFIX\n"
    "Runs a window of the framework with a timer and message boxes. Without a screen it plays a\n"
    "short script and writes PREFIX-window.png, PREFIX-information.png, PREFIX-stop.png and\n"
    "PREFIX-after.png; --window runs it in a real window until closed.\n"
    "\n"
    "Examples:\n"
    "  $ quorvane-window-demo /tmp/demo\n",
    kOptions};

constexpr UINT_PTR kTick = 1;
constexpr RECT kCounter{8, 260, 232, 286};

// Draws a small scheme of two lines and their stations.
void DrawScheme(HDC dc) {
    const POINT red[] = {{30, 60}, {90, 120}, {150, 120}, {210, 180}};
    const POINT green[] = {{120, 40}, {120, 200}, {60, 240}};
    for (const auto& [points, colour] :
         {std::pair{std::span<const POINT>(red), RGB(220, 0, 0)},
          std::pair{std::span<const POINT>(green), RGB(0, 150, 0)}}) {
        UniquePen pen(CreatePen(PS_SOLID, 4, colour));
        SelectionScope scope(dc, pen.get());
        Polyline(dc, points);
        UniquePen rim(CreatePen(PS_SOLID, 1, colour));
        SelectionScope rimScope(dc, rim.get());
        SelectionScope brush(dc, GetStockObject(WHITE_BRUSH));
        for (const POINT p : points) {
            Ellipse(dc, p.x - 5, p.y - 5, p.x + 5, p.y + 5);
        }
    }
}

// The window of the demonstration: it paints the scheme and a tick counter, and plays its
// script on the timer.
class DemoWindow final : public WindowObject {
  public:
    DemoWindow(HeadlessHost* headless, std::string prefix)
        : headless_(headless), prefix_(std::move(prefix)) {}

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override {
        static constexpr MessageMapEntry<DemoWindow> kMap[] = {
            OnMessage(WM_CREATE, &DemoWindow::OnCreate),
            OnMessage(WM_PAINT, &DemoWindow::OnPaint),
            OnMessage(WM_TIMER, &DemoWindow::OnTimer),
            OnMessage(WM_DESTROY, &DemoWindow::OnDestroy),
        };
        return DispatchMessageMap<DemoWindow>(*this, kMap, {window, message, wParam, lParam},
                                              result, mapId);
    }

    bool failed = false;

  private:
    LRESULT OnCreate(const Message&, bool&) {
        CallDefaultProcedure(*this);
        SetTimer(hwnd, kTick, 500, nullptr);
        return 0;
    }

    LRESULT OnPaint(const Message&, bool&) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        // Where the shell's bars will lie over the window.
        const RECT top = NavigationBarRect();
        const RECT bottom = MenuBarRect();
        FillRect(dc, &top, GetSysColorBrush(COLOR_HIGHLIGHT));
        FillRect(dc, &bottom, GetSysColorBrush(COLOR_BTNFACE));
        DrawScheme(dc);
        LOGFONTW attributes;
        attributes.lfHeight = -11;
        UniqueFont font(CreateFontIndirectW(&attributes));
        {
            SelectionScope scope(dc, font.get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            RECT title = top;
            title.left = 6;
            DrawTextW(dc, u"Схема метро", &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SetTextColor(dc, RGB(0, 0, 0));
            RECT menu = bottom;
            menu.left = 6;
            DrawTextW(dc, u"Cхема", &menu, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            // The counter is repainted without erasing: it clears its own place.
            FillRect(dc, &kCounter, GetSysColorBrush(COLOR_WINDOW));
            const std::u16string text = u"Такт таймера: " + Number(ticks_);
            RECT counter = kCounter;
            DrawTextW(dc, text, &counter, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }

    LRESULT OnTimer(const Message& message, bool& handled) {
        if (TimerId(message) != kTick) {
            handled = false;
            return 0;
        }
        ++ticks_;
        InvalidateRect(hwnd, &kCounter, 0);
        if (!headless_) {
            if (ticks_ == 3) {
                MessageBoxW(hwnd, u"Маршрут не найден", u"Информация", MB_OK | MB_ICONASTERISK);
            }
            return 0;
        }
        // The script: a picture, a box with the information icon, a box with the stop icon
        // closed by a tap on "ok", and a last picture.
        switch (ticks_) {
            case 2:
                Save("window");
                break;
            case 3:
                MessageBoxW(hwnd, u"Маршрут не найден", u"Информация", MB_OK | MB_ICONASTERISK);
                break;
            case 4:
                Save("information");
                headless_->Key(VK_RETURN);
                break;
            case 5:
                MessageBoxW(nullptr, u"Старый формат схемы", u"Ошибка", MB_OK | MB_ICONHAND);
                break;
            case 6:
                Save("stop");
                TapOk(u"Ошибка");
                break;
            case 8:
                Save("after");
                PostQuitMessage(0);
                break;
            default:
                break;
        }
        return 0;
    }

    LRESULT OnDestroy(const Message&, bool&) {
        PostQuitMessage(0);
        return 0;
    }

    void Save(const std::string& name) {
        const std::string path = prefix_ + "-" + name + ".png";
        if (!headless_->WriteScreenshot(path)) {
            tools::Fail(kSyntax, "cannot write " + qv::Printable(path));
            failed = true;
        }
    }

    void TapOk(const char16_t* caption) {
        RECT ok;
        const HWND box = FindWindowW(kDialogClassName.data(), caption);
        if (!box || !GetWindowRect(GetDlgItem(box, IDOK), &ok)) {
            failed = true;
            return;
        }
        headless_->Tap((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    }

    static std::u16string Number(int value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }

    HeadlessHost* headless_;
    std::string prefix_;
    int ticks_ = 0;
};

int Run(Host& host, HeadlessHost* headless, const std::string& prefix) {
    static ModuleState module;
    InitModule(&module, ProgramModule());
    WindowSystem system(host);
    // The boxes keep clear of where the device's bars would be, though none are shown here.
    RECT work = WorkArea();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    DemoWindow window(headless, prefix);
    const RECT screen{0, 0, 240, 320};
    if (!CreateFrameWindow(window, nullptr, screen, u"Quorvane: окна", WS_VISIBLE | WS_SYSMENU, 0,
                           0, nullptr)) {
        tools::Fail(kSyntax, "cannot create the window");
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (headless && system.RanOutOfInput()) {
        tools::Fail(kSyntax, "the script stopped early");
        return 1;
    }
    return window.failed ? 1 : 0;
}

int RunDemo(const tools::CommandLine& line) {
    if (line.Plain().size() != 1) {
        throw tools::UsageError("one PREFIX wanted, " + std::to_string(line.Plain().size()) +
                                " arguments given");
    }
    const std::string& prefix = line.Plain()[0];
    if (line.Has("--window")) {
        std::string error;
        auto host = SdlHost::Open(2, error);
        if (!host) {
            tools::Fail(kSyntax, error);
            return 1;
        }
        return Run(*host, nullptr, prefix);
    }
    HeadlessHost host;
    host.AllowTime(std::chrono::seconds(10));
    return Run(host, &host, prefix);
}

}  // namespace

int main(int argc, char** argv) {
    return qv::tools::RunTool(argc, argv, kSyntax, RunDemo);
}
