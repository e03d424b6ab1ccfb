#include "platform/pocket/navigation_bar.h"

#include <string>

#include "platform/controls/button_press.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/bar_painter.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/pocket/shell_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/look/classic_look.h"

namespace qv {

namespace {

constexpr int kTitleLeft = 4;
constexpr int kDoneWidth = 28;
constexpr int kDoneMargin = 2;
constexpr int kDoneTop = 3;

class NavigationBar final : public ControlState {
  public:
    NavigationBar(HWND window, const CREATESTRUCTW&) : ControlState(window) {
        LOGFONTW attributes;
        attributes.lfHeight = -12;
        attributes.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectW(&attributes));
    }

    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void Follow(HWND window) {
        followed_ = window;
        // The bar's own text is the title it shows.
        SetWindowTextW(Window(), window ? GetWindowText(window) : std::u16string());
        const bool done = window && GetPropW(window, kDoneButtonProperty) != 0;
        if (!done) {
            press_.Cancel(Window());
        }
        done_ = done;
        InvalidateRect(Window(), nullptr, 0);
    }

    RECT DoneRect() const {
        if (!done_) {
            return {};
        }
        RECT client{};
        GetClientRect(Window(), &client);
        return {client.right - kDoneMargin - kDoneWidth, kDoneTop, client.right - kDoneMargin,
                client.bottom - kBarEdgeWidth - kDoneTop + 1};
    }

  private:
    void Redraw(const ButtonPress::Result& result) {
        if (result.redraw) {
            InvalidateRect(Window(), nullptr, 0);
        }
    }
    void Paint();

    HWND followed_ = nullptr;
    bool done_ = false;
    ButtonPress press_;  // of the "ok" button
    UniqueFont bold_;
};

std::optional<LRESULT> NavigationBar::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            if (done_ && rect::Contains(DoneRect(), point)) {
                Redraw(press_.PenDown(Window(), DoneRect()));
            }
            return 0;
        case WM_MOUSEMOVE:
            Redraw(press_.PenMove(Window(), point));
            return 0;
        case WM_LBUTTONUP: {
            const ButtonPress::Result result = press_.PenUp(Window(), point);
            Redraw(result);
            if (result.click && IsWindow(followed_)) {
                SendMessageW(followed_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return 0;
        }
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            Redraw(press_.Cancel(Window()));
            return 0;
        default:
            return std::nullopt;
    }
}

void NavigationBar::Paint() {
    PaintBar(Window(), BarEdge::Bottom, bold_.get(), [this](HDC dc, const RECT& client) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        const RECT done = DoneRect();
        RECT title{kTitleLeft, 0, done_ ? done.left - kDoneMargin : client.right - kDoneMargin,
                   client.bottom - kBarEdgeWidth};
        DrawTextW(dc, GetWindowText(Window()), &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (!done_) {
            return;
        }
        const bool down = press_.Pressed();
        if (down) {
            FillWithColour(dc, done, COLOR_BTNFACE);
            DrawBevel(dc, done, Bevel::Pushed);
        } else {
            DrawRaisedButton(dc, done);
        }
        RECT text = down ? Moved(done, 1, 1) : done;
        DrawTextW(dc, u"ok", &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
}

}  // namespace

HWND CreateNavigationBar() {
    return CreateShellWindow<NavigationBar>(kNavigationBarClassName, NavigationBarRect());
}

void FollowWindow(HWND bar, HWND window) {
    if (NavigationBar* state = ControlStateOf<NavigationBar>(bar)) {
        state->Follow(window);
    }
}

RECT DoneButtonRect(HWND bar) {
    const NavigationBar* state = ControlStateOf<NavigationBar>(bar);
    return state ? state->DoneRect() : RECT{};
}

}  // namespace qv
