#pragma once

#include <optional>
#include <string_view>

#include "platform/controls/control_state.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/pocket/keyboard_state.h"

namespace qv {

inline constexpr std::u16string_view kOnScreenKeyboardClassName = u"qv.OnScreenKeyboard";

// The input panel's keyboard: a window on the panel's rectangle that is never activated and
// never takes the focus, so that a tap types into whatever window has the focus, as the keys of
// a physical keyboard would. It types on release, into the key under the pen; while the pen is
// down a character key shows enlarged above it (KeyPreview). Backspace held down repeats, and
// then its release types nothing more.
class OnScreenKeyboard final : public ControlState {
  public:
    OnScreenKeyboard(HWND window, const CREATESTRUCTW& creation);

    const KeyboardState& State() const { return state_; }
    // The key the pen holds down, or null.
    const KeyCap* Pressed() const { return pressed_; }
    HWND Preview() const { return preview_; }

  private:
    void OnPaint(const PaintEvent& paint) override;
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    void OnCaptureLost() override { Press(nullptr); }
    void OnTimer(UINT_PTR id) override;

    std::u16string LabelOf(const KeyCap& key) const;
    // Makes the key the one held down (none when null), with its look and its preview.
    void Press(const KeyCap* key);
    void ShowPreview(const KeyCap& key);
    void Type(const KeyCap& key);

    KeyboardState state_;
    const KeyCap* pressed_ = nullptr;
    bool repeated_ = false;   // the held key has typed by repeating
    HWND preview_ = nullptr;  // belongs to the keyboard and goes with it
    UniqueFont keyFont_;
    UniqueFont labelFont_;
};

// Makes the keyboard, hidden, on the input panel's rectangle; null when it cannot be made.
HWND CreateOnScreenKeyboard();
bool IsOnScreenKeyboard(HWND window);

}  // namespace qv
