#pragma once

// The list view's state, shared by the files that make it up: list_view.cpp (its messages,
// scrolling, selection and input), list_view_records.cpp (the item and column records callers
// hand in and out) and list_view_paint.cpp (its rows).

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/controls/control_state.h"
#include "platform/controls/list_view_items.h"
#include "platform/controls/notify_messages.h"

namespace qv::list_view {

inline constexpr int kImageMargin = 2;
inline constexpr int kTextMargin = 2;
// How far the pen moves before a press becomes a drag of the list rather than a tap.
inline constexpr int kDragThreshold = 4;
// The longest text read from a parent's own buffer.
inline constexpr int kMaxForeignText = 1024;
// The widest column LVM_SETCOLUMNWIDTH can ask for, which keeps sums of widths in range.
inline constexpr int kMaxColumnWidth = 0x7FFF;

struct Column {
    int width = 0;
    int format = LVCFMT_LEFT;
};

// Up to `limit` characters of a caller's text, none of a callback's.
std::u16string ReadText(const char16_t* text, int limit);

class ListView final : public ControlState {
  public:
    ListView(HWND window, const CREATESTRUCTW&) : ControlState(window) {}
    ~ListView() override;

  private:
    enum class PenMode { None, Pressed, Dragging };

    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override;
    void OnPaint(const PaintEvent& paint) override;
    void OnSize() override;
    void OnFontChanged() override { MeasureRows(); }
    void OnFocus() override { FocusChanged(true); }
    void OnFocusLost() override { FocusChanged(false); }
    void OnPenDown(POINT point) override;
    void OnPenMove(POINT point, bool held) override;
    void OnPenUp(POINT point) override;
    void OnCaptureLost() override { penMode_ = PenMode::None; }
    void OnKeyDown(int key) override;
    void OnScroll(int bar, WORD code) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS; }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE)); }
    RECT Client() const {
        RECT client{};
        GetClientRect(Window(), &client);
        return client;
    }
    int PerPage() const { return std::max(0, (Client().bottom) / rowHeight_); }
    int LargestTop() const { return std::max(0, items_.Count() - std::max(1, PerPage())); }
    int ColumnsWidth() const;
    int LargestLeft() const { return std::max(0, ColumnsWidth() - Client().right); }
    int ImageWidth() const { return smallImages_ ? smallImages_->width : 0; }

    void MeasureRows();
    // Each bar shown or hidden changes the room of the other, so both are set until they agree.
    void UpdateScrollBars();
    void SetBar(int bar);
    void ScrollTo(int top);
    void ScrollAcross(long long left);
    void OnVerticalScroll(WORD code);
    void OnHorizontalScroll(WORD code);
    void ScrollBy(long long dx, long long dy);
    bool EnsureVisible(int index, bool partialAllowed);
    int RowAt(POINT point) const;
    void FocusChanged(bool focused);

    LRESULT Notify(NMHDR& header) { return NotifyParent(Window(), &header); }
    // Sets the bits of `mask` to those of `state`, telling the parent when they change.
    void ChangeState(int index, UINT state, UINT mask);
    void SetStateFromCaller(int index, UINT state, UINT mask);
    LRESULT SetItemState(int index, const LVITEMW* record);
    // Selects and focuses one item (-1: none), as a tap or a key does.
    void SelectByUser(int index);
    std::u16string TextOf(int index, int column);

    // Returns false when the parent destroyed the list while the row was drawn.
    bool PaintRow(HDC dc, int index, bool notifyItems);

    void Tap(POINT point);

    LRESULT InsertItem(const LVITEMW* record);
    BOOL SetItem(const LVITEMW* record);
    BOOL SetItemText(int index, const LVITEMW* record);
    BOOL GetItem(LVITEMW* record);
    LRESULT GetItemText(int index, LVITEMW* record);
    int GetNextItem(int start, UINT flags) const;
    LRESULT InsertColumn(int index, const LVCOLUMNW* record);
    BOOL SetColumnWidth(WPARAM column, int width);
    BOOL GetItemRect(int index, RECT* rect) const;
    HIMAGELIST SetImageList(WPARAM which, HIMAGELIST list);
    LRESULT SetExtendedStyle(DWORD mask, DWORD style);

    ListViewItems items_;
    std::vector<Column> columns_;
    DWORD extendedStyle_ = 0;
    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST normalImages_ = nullptr;
    int rowHeight_ = 17;
    int top_ = 0;
    int left_ = 0;  // pixels of the columns scrolled out at the left
    bool updatingBars_ = false;
    bool barsStale_ = false;
    bool focused_ = false;
    PenMode penMode_ = PenMode::None;
    POINT penStart_{};
    int topAtPress_ = 0;
    std::array<char16_t, 260> textBuffer_{};
};

}  // namespace qv::list_view
