#pragma once

#include <optional>

#include "platform/gdi/gdi_types.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The press every button shares, whatever it looks like. The pen pressed on the button holds the
// capture and the button looks pressed while the pen is inside it; lifting the pen inside is a
// click, anywhere else nothing. Space on the focused button presses it, and its release is the
// click. Losing the capture or the keyboard ends a press without a click. A button that is only a
// part of its window names that part's rectangle when the pen goes down.
class ButtonPress {
  public:
    struct Result {
        bool redraw = false;  // the pressed look changed
        bool click = false;
    };

    bool Pressed() const { return pressed_; }

    Result PenDown(HWND button, std::optional<RECT> area = std::nullopt);
    Result PenMove(HWND button, POINT position);
    Result PenUp(HWND button, POINT position);
    Result KeyDown(int virtualKey);
    Result KeyUp(int virtualKey);
    // The capture or the keyboard went elsewhere.
    Result Cancel(HWND button);
    // BM_SETSTATE: the pressed look asked for from outside, with no press behind it.
    Result Show(bool pressed);

  private:
    enum class Source { None, Pen, Key };
    Result Look(bool pressed);

    bool Inside(HWND button, POINT position) const;

    Source source_ = Source::None;
    bool pressed_ = false;
    std::optional<RECT> area_;  // the pen's button inside its window; the client area when none
};

}  // namespace qv
