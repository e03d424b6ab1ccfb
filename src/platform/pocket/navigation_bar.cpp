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

    void Follow(HWND window) {
        followed_ = window;
        // The bar's own text is the title it shows.
        SetWindowTextW(Window(), window ? GetWindowText(window) : std::u16string());
        const bool done = window && GetPropW(window, kDoneButtonProperty) != 0;
        if (!done) {
            press_.Cancel(Window());
        }
        done_ = done;
        Redraw();
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
    void OnPaint(const PaintEvent& paint) override;
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool) override { Apply(press_.PenMove(Window(), point)); }
    void OnPenUp(POINT point) override;
    void OnCaptureLost() override { Apply(press_.Cancel(Window())); }

    ButtonPress::Result Apply(ButtonPress::Result result) {
        if (result.redraw) {
            Redraw();
        }
        return result;
    }

    HWND followed_ = nullptr;
    bool done_ = false;
    ButtonPress press_;  // of the "ok" button
    UniqueFont bold_;
};

void NavigationBar::OnPenDown(POINT point) {
    if (done_ && rect::Contains(DoneRect(), point)) {
        Apply(press_.PenDown(Window(), DoneRect()));
    }
}

void NavigationBar::OnPenUp(POINT point) {
    if (Apply(press_.PenUp(Window(), point)).click && IsWindow(followed_)) {
        SendMessageW(followed_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

void NavigationBar::OnPaint(const PaintEvent& paint) {
    PaintBar(
        paint.dc, paint.client, BarEdge::Bottom, bold_.get(), [this](HDC dc, const RECT& client) {
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
            RECT text = down ? rect::Offset(done, 1, 1) : done;
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
