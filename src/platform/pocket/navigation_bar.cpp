#include "platform/pocket/navigation_bar.h"

#include <string>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/bar_painter.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/classic_look.h"
#include "platform/user/input_functions.h"
#include "platform/user/message_functions.h"
#include "platform/user/paint_functions.h"

namespace qv {

namespace {

constexpr int kTitleLeft = 4;
constexpr int kDoneWidth = 28;
constexpr int kDoneMargin = 2;
constexpr int kDoneTop = 3;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

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
            CancelPress();
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
    void CancelPress() {
        if (pressed_ && GetCapture() == Window()) {
            ReleaseCapture();
        }
        pressed_ = false;
        inside_ = false;
    }
    void Paint();

    HWND followed_ = nullptr;
    bool done_ = false;
    bool pressed_ = false;
    bool inside_ = false;
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
            if (done_ && Contains(DoneRect(), point)) {
                pressed_ = true;
                inside_ = true;
                SetCapture(Window());
                InvalidateRect(Window(), nullptr, 0);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (pressed_ && inside_ != Contains(DoneRect(), point)) {
                inside_ = !inside_;
                InvalidateRect(Window(), nullptr, 0);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!pressed_) {
                return 0;
            }
            const bool click = Contains(DoneRect(), point);
            CancelPress();
            InvalidateRect(Window(), nullptr, 0);
            if (click && IsWindow(followed_)) {
                SendMessageW(followed_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            return 0;
        }
        case WM_CANCELMODE:
        case WM_CAPTURECHANGED:
            if (pressed_) {
                CancelPress();
                InvalidateRect(Window(), nullptr, 0);
            }
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
        const bool down = pressed_ && inside_;
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
    if (!RegisterControlClass<NavigationBar>(kNavigationBarClassName)) {
        return nullptr;
    }
    const RECT place = NavigationBarRect();
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_SHELLWINDOW,
                           kNavigationBarClassName, u"", WS_POPUP, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, nullptr, 0, nullptr,
                           nullptr);
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
