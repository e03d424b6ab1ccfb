#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/dialog_object.h"
#include "framework/message_map.h"
#include "model/network_model.h"
#include "platform/gdi/gdi_objects.h"
#include "text/letter_case.h"
#include "text/name_search.h"

namespace qv {

// How the picker finds a station quickly: by letter tabs or by typing the name's beginning on the
// edit (with the on-screen keyboard).
enum PickerMode : int { kLetterTabs = 0, kKeyboardEntry = 1 };

// The alphabetical station list with letter tabs or a name edit, and two buttons that make the
// selected station the departure or the destination. It writes the model's ends directly.
class StationPicker final : public DialogObject {
  public:
    StationPicker(NetworkModel& network, int mode) : model(&network), pickerMode(mode) {}

    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                       int mapId) override;

    // Makes item `index` the top row when the list is long enough.
    void ScrollItemToTop(int index);
    // Raises or lowers the on-screen keyboard.
    static void ShowInputPanel(bool raise);

    NetworkModel* model;
    HWND listView = nullptr;
    HWND nameEdit = nullptr;  // null once destroyed
    int pickerMode;

  private:
    LRESULT OnInitDialog(const Message& message, bool& handled);
    LRESULT OnDrawItem(const Message& message, bool& handled);
    LRESULT OnLetterTabChanged(const Message& message, bool& handled);
    LRESULT OnGetDisplayInfo(const Message& message, bool& handled);
    LRESULT OnClose(const Message& message, bool& handled);
    LRESULT OnEndpointCommand(const Message& message, bool& handled);
    LRESULT OnNameEditChanged(const Message& message, bool& handled);
    LRESULT OnNameEditFocus(const Message& message, bool& handled);
    LRESULT OnSize(const Message& message, bool& handled);

    void SetUpFonts();
    void SetUpTabs();
    void SetUpLineImages();
    void FillStationList();
    // Where the template puts the list and the buttons, in the page's client area.
    void RememberLayout();
    // A button drawn pressed already chooses, as its click does again later, so that a tap
    // quicker than a paint still chooses.
    void OnDrawEndpointButton(const struct DRAWITEMSTRUCT& item);
    Station* ItemStation(int index) const;
    // The station selected in the list (none without a selection) becomes the chosen end.
    void AssignEndpoint(bool departure);

    struct Layout {
        RECT list;
        RECT departure;
        RECT destination;
    };
    std::optional<Layout> layout_;
    UniqueFont buttonFont_;
    UniqueFont tabFont_;
    std::vector<std::u16string> tabLabels_;
    // The names in the list's order, for typed texts that begin none of them as typed.
    NameSearch names_;
};

// Runs the picker over the owner on the model with the given picker mode.
void ShowStationPicker(HWND owner, NetworkModel& model, int pickerMode);

}  // namespace qv
