#pragma once

#include <optional>

#include "platform/user/records/user_types.h"

namespace qv {

// The dialog manager's own state of one dialog, kept in the dialog window's extra bytes after
// the public DWL_* slots, so that it lives and goes with the window.
class DialogState {
  public:
    explicit DialogState(HWND dialog) : dialog_(dialog) {}

    // The id of the default push button; 0 when there is none.
    WORD DefaultId() const;
    void SetDefaultId(WORD id);
    // The control that had the focus when the dialog last lost it, or that is to take it first.
    HWND SavedFocus() const;
    void SaveFocus(HWND control);
    // The result given to EndDialog, perhaps before the dialog's loop began.
    std::optional<INT_PTR> EndResult() const;
    void SetEndResult(INT_PTR result);

  private:
    HWND dialog_;
};

}  // namespace qv
