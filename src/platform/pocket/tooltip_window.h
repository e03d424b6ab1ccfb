#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// Where a tip of the size goes for an anchor on the screen: just above it, its left edge at the
// anchor's, moved sideways to lie wholly on the screen, and below the anchor when there is no
// room above.
RECT PlaceTooltip(SIZE size, const RECT& anchor);

// A small window with a text that the shell shows above a button held down. It is owned by the
// window it explains, goes with it, and never takes the activation. There is no tooltip on hover:
// the SDL host reports no pen movement without a press.
class TooltipWindow {
  public:
    explicit TooltipWindow(HWND owner) : owner_(owner) {}
    TooltipWindow(const TooltipWindow&) = delete;
    TooltipWindow& operator=(const TooltipWindow&) = delete;

    // Shows the text for the anchor (screen coordinates), making the window on first use.
    void Show(std::u16string_view text, const RECT& anchor);
    void Hide();
    HWND Handle() const { return window_; }

  private:
    HWND owner_;
    HWND window_ = nullptr;
};

}  // namespace qv
