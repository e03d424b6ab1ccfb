#include "platform/pocket/keyboard_button.h"

#include "platform/controls/button_press.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/bar_painter.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/shell_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/look/classic_look.h"

namespace qv {

namespace {

constexpr int kGlyphWidth = 17;
constexpr int kGlyphHeight = 11;

// A keyboard seen from above: a frame with two rows of keys and a space bar.
void DrawKeyboardGlyph(HDC dc, int left, int top) {
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    FillSolid(dc, {left, top, left + kGlyphWidth, top + kGlyphHeight}, ink);
    FillSolid(dc, {left + 1, top + 1, left + kGlyphWidth - 1, top + kGlyphHeight - 1},
              GetSysColor(COLOR_BTNHIGHLIGHT));
    for (int row = 0; row < 2; ++row) {
        for (int key = 0; key < 7; ++key) {
            const int x = left + 2 + 2 * key;
            const int y = top + 2 + 2 * row;
            FillSolid(dc, {x, y, x + 1, y + 1}, ink);
        }
    }
    FillSolid(dc, {left + 4, top + 7, left + kGlyphWidth - 4, top + 8}, ink);
}

class KeyboardButton final : public ControlState {
  public:
    KeyboardButton(HWND window, const CREATESTRUCTW&) : ControlState(window) {}

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_SETTINGCHANGE) {
            // The panel went up or down.
            Redraw();
            return 0;
        }
        return std::nullopt;
    }
    void OnPenDown(POINT) override { Apply(press_.PenDown(Window())); }
    void OnPenMove(POINT point, bool) override { Apply(press_.PenMove(Window(), point)); }
    void OnPenUp(POINT point) override {
        if (Apply(press_.PenUp(Window(), point)).click) {
            ToggleInputPanel();
        }
    }
    void OnCaptureLost() override { Apply(press_.Cancel(Window())); }
    void OnPaint(const PaintEvent& paint) override {
        PaintBar(paint.dc, paint.client, BarEdge::Top, nullptr, [this](HDC dc, const RECT& client) {
            const RECT r{1, kBarEdgeWidth + 1, client.right - 1, client.bottom - 1};
            const bool down = press_.Pressed() || CurrentInputPanel() == InputPanelState::Up;
            if (down) {
                FillWithColour(dc, {r.left, r.top, r.right - 1, r.top + 1}, COLOR_BTNSHADOW);
                FillWithColour(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, COLOR_BTNSHADOW);
                FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom},
                          GetSysColor(COLOR_BTNHIGHLIGHT));
                FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom},
                          GetSysColor(COLOR_BTNHIGHLIGHT));
            }
            const int shift = down ? 1 : 0;
            DrawKeyboardGlyph(dc, (r.left + r.right - kGlyphWidth) / 2 + shift,
                              (r.top + r.bottom - kGlyphHeight) / 2 + shift);
        });
    }

    ButtonPress::Result Apply(ButtonPress::Result result) {
        if (result.redraw) {
            Redraw();
        }
        return result;
    }

    ButtonPress press_;
};

}  // namespace

HWND CreateKeyboardButton() {
    return CreateShellWindow<KeyboardButton>(kKeyboardButtonClassName, KeyboardButtonRect());
}

}  // namespace qv
