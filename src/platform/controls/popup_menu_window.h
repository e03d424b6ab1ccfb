#pragma once

#include <optional>
#include <vector>

#include "platform/controls/control_state.h"
#include "platform/controls/menu_label.h"
#include "platform/controls/popup_menu_codes.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/user/records/menu.h"

namespace qv {

// What a popup menu window is made for; CreateWindowExW's parameter points at it.
struct PopupMenuRequest {
    HMENU menu = nullptr;
    POINT point{};
    UINT flags = 0;
    std::optional<RECT> exclude;
};

enum class MenuOutcome { Open, Chosen, Dismissed };

// The window of a popup menu: the items in the menu font on white inside a thin frame, the
// separators as grey lines, mnemonics underlined, the highlighted item in the selection colours
// and items that cannot be chosen in grey. It sizes and places itself when it is made, and
// takes the pen and the keys it is given until an item is chosen or it is dismissed; the loop
// that hands it the keys and ends it is TrackPopupMenuEx's.
class PopupMenuWindow final : public ControlState {
  public:
    PopupMenuWindow(HWND window, const CREATESTRUCTW& creation);

    MenuOutcome Outcome() const { return outcome_; }
    // The command of the chosen item.
    UINT Chosen() const { return chosen_; }
    // Whether the pen went down on the window's capture and has not come up yet.
    bool PenHeld() const { return penHeld_; }
    HMENU ShownMenu() const { return request_.menu; }
    // The item's rectangle in client coordinates.
    std::optional<RECT> ItemRect(int position) const;

  private:
    struct Row {
        MenuLabel label;
        UINT id = 0;
        bool separator = false;
        bool selectable = false;
        RECT rect{};
    };

    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override { return LayOut(); }
    void OnPaint(const PaintEvent& paint) override;
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    // Whoever takes the pen away ends the menu, as the system's menus end.
    void OnCaptureLost() override { Finish(MenuOutcome::Dismissed, 0); }
    void OnKeyDown(int key) override;
    void OnSystemKeyDown(int key) override { OnKeyDown(key); }
    void OnCharacter(char16_t typed) override { TypeMnemonic(typed); }
    void OnSystemCharacter(char16_t typed) override { TypeMnemonic(typed); }

    bool LayOut();
    void PaintRow(HDC dc, const Row& row, bool highlighted, const TEXTMETRICW& metrics);
    // The row under the point of the client area, or -1.
    int RowAt(POINT point) const;
    void Highlight(int row);
    void Step(int direction);
    void TypeMnemonic(char16_t typed);
    // The row under a pen inside the window that can be chosen, or -1; nothing outside it.
    std::optional<int> PenRow(POINT point) const;
    void Finish(MenuOutcome outcome, UINT chosen);

    PopupMenuRequest request_;
    UniqueFont font_;
    std::vector<Row> rows_;
    int highlight_ = -1;
    MenuOutcome outcome_ = MenuOutcome::Open;
    UINT chosen_ = 0;
    bool penHeld_ = false;
};

bool RegisterPopupMenuClass();
// The state of a popup menu window, or null for any other window.
PopupMenuWindow* PopupMenuOf(HWND window);

}  // namespace qv
