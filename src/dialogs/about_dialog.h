#pragma once

#include "framework/dialog_object.h"
#include "framework/message_map.h"
#include "platform/gdi/gdi_objects.h"

namespace qv {

// The full-screen about box: the product name in bold, the version and the release date. Any
// tap closes it, on pen-up (its plain static texts let taps through to the page), as do OK and
// Cancel. While it is active the task bar and the input panel's button are hidden.
class AboutDialog : public DialogObject {
  public:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

  protected:
    LRESULT OnInitDialog(const Message& message, bool& handled);
    LRESULT OnPenUp(const Message& message, bool& handled);
    LRESULT OnClose(const Message& message, bool& handled);
    LRESULT OnActivate(const Message& message, bool& handled);

  private:
    UniqueFont titleFont;
};

void ShowAboutBox(HWND owner);

}  // namespace qv
