#include "platform/pocket/tooltip_window.h"

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/shell_window.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/look/classic_look.h"

namespace qv {

namespace {

constexpr std::u16string_view kTooltipClassName = u"QvShellTooltip";
constexpr COLORREF kTipBackground = RGB(255, 255, 225);
constexpr int kPaddingX = 3;
constexpr int kPaddingY = 1;
constexpr int kGap = 1;

LOGFONTW TipFont() {
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    return attributes;
}

class Tooltip final : public ControlState {
  public:
    Tooltip(HWND window, const CREATESTRUCTW&) : ControlState(window) {
        const LOGFONTW attributes = TipFont();
        font_.reset(CreateFontIndirectW(&attributes));
    }

    HFONT Font() const { return font_.get(); }

  private:
    void OnPaint(const PaintEvent& paint) override {
        const HDC dc = paint.dc;
        FillSolid(dc, paint.client, kTipBackground);
        const RECT inside = DrawFrame(dc, paint.client, COLOR_WINDOWTEXT);
        SelectionScope font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT text = Shrunk(inside, kPaddingX, 0);
        DrawTextW(dc, GetWindowText(Window()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }

    UniqueFont font_;
};

SIZE TipSize(HWND tip, std::u16string_view text) {
    const Tooltip* state = ControlStateOf<Tooltip>(tip);
    const HDC dc = GetDC(tip);
    SIZE measured{};
    {
        SelectionScope font(dc, state ? state->Font() : nullptr);
        measured = MeasureText(dc, text);
    }
    ReleaseDC(tip, dc);
    return {measured.cx + 2 * (kPaddingX + 1), measured.cy + 2 * (kPaddingY + 1)};
}

}  // namespace

RECT PlaceTooltip(SIZE size, const RECT& anchor) {
    const LONG width = std::min<LONG>(size.cx, kScreenWidth);
    const LONG height = std::min<LONG>(size.cy, kScreenHeight);
    LONG top = anchor.top - kGap - height;
    if (top < 0) {
        top = std::min<LONG>(anchor.bottom + kGap, kScreenHeight - height);
    }
    const LONG left = std::clamp<LONG>(anchor.left, 0, kScreenWidth - width);
    return {left, top, left + width, top + height};
}

void TooltipWindow::Show(std::u16string_view text, const RECT& anchor) {
    if (!IsWindow(window_)) {
        window_ = CreateShellWindow<Tooltip>(kTooltipClassName, {}, owner_);
        if (!window_) {
            return;
        }
    }
    SetWindowTextW(window_, text);
    const RECT place = PlaceTooltip(TipSize(window_, text), anchor);
    MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top,
               1);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    InvalidateRect(window_, nullptr, 1);
}

void TooltipWindow::Hide() {
    if (IsWindow(window_)) {
        ShowWindow(window_, SW_HIDE);
    }
}

}  // namespace qv
