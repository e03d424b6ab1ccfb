#pragma once

#include <string_view>

#include "platform/controls/button_press.h"
#include "platform/controls/control_state.h"

namespace qv {

inline constexpr std::u16string_view kButtonClassName = u"BUTTON";

// A push button (BS_PUSHBUTTON, BS_DEFPUSHBUTTON), an owner-drawn one (BS_OWNERDRAW: the parent
// draws it on WM_DRAWITEM), a check box (BS_CHECKBOX, BS_AUTOCHECKBOX) or a radio button
// (BS_RADIOBUTTON, BS_AUTORADIOBUTTON). A click sends BN_CLICKED to the parent; the automatic
// kinds change their check first, an automatic radio button unchecking the other radio buttons
// of its group (the siblings from the one with WS_GROUP up to the next one with it).
class Button final : public ControlState {
  public:
    Button(HWND window, const CREATESTRUCTW& creation);

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(const PaintEvent& paint) override;
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    void OnCaptureLost() override;
    void OnKeyDown(int key) override;
    void OnKeyUp(int key) override;
    void OnFocus() override;
    void OnFocusLost() override;
    void OnEnable() override { Redraw(); }
    void OnTextChanged() override { Redraw(); }
    LRESULT DialogCode() const override;

    DWORD Type() const;
    void Apply(ButtonPress::Result result);
    void Click();
    void SetCheck(LRESULT check);
    void PaintOwnerDrawn(HDC dc, const RECT& client);

    ButtonPress press_;
    LRESULT check_ = 0;
    bool focused_ = false;
};

bool RegisterButtonClass();

// The dialog's button of that id checked (BST_CHECKED) or not.
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks the dialog's button `check` and unchecks its other buttons with ids from `first` to
// `last`.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

}  // namespace qv
