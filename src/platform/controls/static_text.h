#pragma once

#include <string_view>

#include "platform/controls/control_state.h"

namespace qv {

inline constexpr std::u16string_view kStaticClassName = u"STATIC";

// Text on the dialog's background, left-aligned (SS_LEFT), centred (SS_CENTER) or right-aligned
// (SS_RIGHT), broken between words to fit, in the font given by WM_SETFONT; greyed when
// disabled. The parent may choose the background with WM_CTLCOLORSTATIC. Taps pass through to
// the parent unless the text has SS_NOTIFY (it answers WM_NCHITTEST with HTTRANSPARENT).
class StaticText final : public ControlState {
  public:
    StaticText(HWND window, const CREATESTRUCTW& creation);

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(const PaintEvent& paint) override;
    void OnEnable() override { Redraw(); }
    void OnTextChanged() override { Redraw(); }
    LRESULT DialogCode() const override { return DLGC_STATIC; }
};

bool RegisterStaticClass();

}  // namespace qv
