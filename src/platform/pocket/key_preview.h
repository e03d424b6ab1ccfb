#pragma once

#include <optional>
#include <string_view>

#include "platform/controls/control_state.h"
#include "platform/gdi/gdi_objects.h"

namespace qv {

inline constexpr std::u16string_view kKeyPreviewClassName = u"qv.KeyPreview";

// The enlarged key that a touch keyboard shows above the finger: a window showing its text
// large, never activated.
class KeyPreview final : public ControlState {
  public:
    KeyPreview(HWND window, const CREATESTRUCTW& creation);

  private:
    void OnPaint(const PaintEvent& paint) override;
    void OnTextChanged() override { Redraw(); }

    UniqueFont font_;
};

// Makes the preview, hidden, belonging to `keyboard`; null when it cannot be made.
HWND CreateKeyPreview(HWND keyboard);
// Shows the text in the preview, placed above `key` (screen coordinates) and on the screen.
void ShowKeyPreview(HWND preview, std::u16string_view text, const RECT& key);

}  // namespace qv
