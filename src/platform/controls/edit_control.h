#pragma once

#include <string_view>
#include <vector>

#include "platform/controls/control_state.h"
#include "platform/controls/edit_buffer.h"

namespace qv {

inline constexpr std::u16string_view kEditClassName = u"EDIT";

// A single-line edit: typing, Backspace and Delete, the caret moved by Left, Right, Home and End
// and blinking while the edit has the keyboard, a selection made with Shift and those keys or by
// dragging the pen. ES_AUTOHSCROLL scrolls the text to keep the caret in view (without it,
// typing stops at the right edge); ES_NUMBER accepts digits only; ES_READONLY refuses changes.
// The parent hears EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE and EN_MAXTEXT.
class EditControl final : public ControlState {
  public:
    EditControl(HWND window, const CREATESTRUCTW& creation);

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(const PaintEvent& paint) override;
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    void OnCaptureLost() override { dragging_ = false; }
    void OnKeyDown(int virtualKey) override;
    void OnCharacter(char16_t character) override;
    void OnFocus() override;
    void OnFocusLost() override;
    void OnTimer(UINT_PTR id) override;
    void OnEnable() override { Redraw(); }
    void OnFontChanged() override { KeepCaretInView(); }
    LRESULT DialogCode() const override {
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    }

    DWORD Style() const;
    // Where a position of the text lies, from the text's start, in logical pixels, in the font
    // selected into `dc`. Only the positions needed are measured: measuring all of a long text
    // would take time growing with the square of its length.
    LONG OffsetOf(HDC dc, std::size_t position) const;
    // What `measure` finds with a device context of the window holding the edit's font; 0
    // when there is none.
    template <class Measure>
    LONG Measuring(Measure measure) const;
    RECT TextArea() const;
    std::size_t PositionAt(int x) const;
    void KeepCaretInView();
    void Notify(WORD code);
    void ShowCaretNow();
    void Changed();
    LRESULT CopyText(WPARAM size, LPARAM buffer) const;

    EditBuffer buffer_;
    LONG scroll_ = 0;
    bool focused_ = false;
    bool caretOn_ = false;
    bool dragging_ = false;
};

bool RegisterEditClass();

}  // namespace qv
