#include "platform/controls/tab_control.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_state.h"
#include "platform/controls/tab_layout.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr int kDefaultPaddingX = 6;
constexpr int kDefaultPaddingY = 3;
constexpr int kMaxLabel = 1024;
// How far the selected tab stands out of its row on each side.
constexpr int kSelectedGrowth = 1;

struct Tab {
    std::u16string label;
    LPARAM data = 0;
};

RECT SelectedTabRect(RECT tab) {
    return {tab.left - kSelectedGrowth, tab.top - kSelectedGrowth, tab.right + kSelectedGrowth,
            tab.bottom + 1};
}

class TabControl final : public ControlState {
  public:
    TabControl(HWND window, const CREATESTRUCTW&) : ControlState(window) {}

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate() override {
        LayOut();
        return true;
    }
    void OnPaint(const PaintEvent& paint) override;
    void OnSize() override { LayOut(); }
    void OnFontChanged() override { LayOut(); }
    void OnPenDown(POINT point) override { SelectByUser(HitTest(point)); }
    void OnKeyDown(int key) override;
    LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE)); }
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(tabs_.size()); }
    int TabHeight(HDC dc) const;

    void LayOut();
    int HitTest(POINT point) const;
    // Asks the parent, selects and tells the parent, as a tap or a key does.
    void SelectByUser(int index);
    void PaintTab(HDC dc, const RECT& rect, const std::u16string& label);

    LRESULT InsertItem(int index, const TCITEMW* record);
    BOOL GetItem(int index, TCITEMW* record) const;

    std::vector<Tab> tabs_;
    int selected_ = -1;
    SIZE itemSize_{};
    SIZE padding_{kDefaultPaddingX, kDefaultPaddingY};
    int minWidth_ = -1;
    int tabHeight_ = 0;
    TabLayout layout_;
};

int TabControl::TabHeight(HDC dc) const {
    if (itemSize_.cy > 0) {
        return itemSize_.cy;
    }
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight + 2 * padding_.cy;
}

void TabControl::LayOut() {
    const HDC dc = GetDC(Window());
    std::vector<int> widths;
    const bool fixed = (Style() & TCS_FIXEDWIDTH) != 0;
    {
        SelectionScope font(dc, TextFont());
        tabHeight_ = TabHeight(dc);
        for (const Tab& tab : tabs_) {
            int width = 0;
            if (fixed) {
                width = itemSize_.cx;
            } else {
                RECT measure{0, 0, 0, 0};
                DrawTextW(dc, tab.label, &measure, DT_SINGLELINE | DT_CALCRECT);
                width = measure.right - measure.left + 2 * padding_.cx;
            }
            widths.push_back(std::max(width, minWidth_));
        }
    }
    ReleaseDC(Window(), dc);
    RECT client{};
    GetClientRect(Window(), &client);
    TabRowRules rules;
    rules.clientWidth = client.right;
    rules.tabHeight = tabHeight_;
    rules.multiLine = (Style() & TCS_MULTILINE) != 0;
    rules.fillRows = !fixed && !(Style() & TCS_RAGGEDRIGHT);
    layout_ = LayOutTabs(widths, rules, selected_);
    InvalidateRect(Window(), nullptr, 0);
}

int TabControl::HitTest(POINT point) const {
    if (Valid(selected_) &&
        rect::Contains(SelectedTabRect(layout_.tabs[static_cast<std::size_t>(selected_)]), point)) {
        return selected_;
    }
    for (std::size_t i = 0; i < layout_.tabs.size(); ++i) {
        if (rect::Contains(layout_.tabs[i], point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TabControl::SelectByUser(int index) {
    if (!Valid(index) || index == selected_) {
        return;
    }
    NMHDR changing = NotificationHeader(Window(), TCN_SELCHANGING);
    if (NotifyParent(Window(), &changing) || Gone() || !Valid(index)) {
        return;
    }
    selected_ = index;
    LayOut();
    NMHDR changed = NotificationHeader(Window(), TCN_SELCHANGE);
    NotifyParent(Window(), &changed);
}

void TabControl::PaintTab(HDC dc, const RECT& r, const std::u16string& label) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    FillSolid(dc, {r.left + 1, r.top + 1, r.right - 1, r.bottom}, GetSysColor(COLOR_BTNFACE));
    FillSolid(dc, {r.left, r.top + 2, r.left + 1, r.bottom}, light);
    FillSolid(dc, {r.left + 1, r.top + 1, r.left + 2, r.top + 2}, light);
    FillSolid(dc, {r.left + 2, r.top, r.right - 2, r.top + 1}, light);
    FillSolid(dc, {r.right - 2, r.top + 1, r.right - 1, r.top + 2}, dark);
    FillSolid(dc, {r.right - 1, r.top + 2, r.right, r.bottom}, dark);
    FillSolid(dc, {r.right - 2, r.top + 2, r.right - 1, r.bottom}, GetSysColor(COLOR_BTNSHADOW));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text{r.left + 1, r.top + 1, r.right - 2, r.bottom};
    DrawTextW(dc, label, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TabControl::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    const RECT& client = paint.client;
    SelectionScope font(dc, TextFont());
    SetBkMode(dc, TRANSPARENT);
    FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    const int top = layout_.DisplayTop(tabHeight_);
    if (client.bottom > top) {
        // The display area's raised frame, which the selected tab opens at the top.
        const RECT area{0, top, client.right, client.bottom};
        FillSolid(dc, {area.left, area.top, area.right - 1, area.top + 1},
                  GetSysColor(COLOR_BTNHIGHLIGHT));
        FillSolid(dc, {area.left, area.top, area.left + 1, area.bottom - 1},
                  GetSysColor(COLOR_BTNHIGHLIGHT));
        FillSolid(dc, {area.left, area.bottom - 1, area.right, area.bottom},
                  GetSysColor(COLOR_3DDKSHADOW));
        FillSolid(dc, {area.right - 1, area.top, area.right, area.bottom},
                  GetSysColor(COLOR_3DDKSHADOW));
        FillSolid(dc, {area.left + 1, area.bottom - 2, area.right - 1, area.bottom - 1},
                  GetSysColor(COLOR_BTNSHADOW));
        FillSolid(dc, {area.right - 2, area.top + 1, area.right - 1, area.bottom - 1},
                  GetSysColor(COLOR_BTNSHADOW));
    }
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        if (static_cast<int>(i) != selected_) {
            PaintTab(dc, layout_.tabs[i], tabs_[i].label);
        }
    }
    if (Valid(selected_)) {
        const auto index = static_cast<std::size_t>(selected_);
        PaintTab(dc, SelectedTabRect(layout_.tabs[index]), tabs_[index].label);
    }
}

LRESULT TabControl::InsertItem(int index, const TCITEMW* record) {
    if (!record || index < 0) {
        return -1;
    }
    Tab tab;
    if (record->mask & TCIF_TEXT) {
        for (int i = 0; record->pszText && i < kMaxLabel && record->pszText[i]; ++i) {
            tab.label.push_back(record->pszText[i]);
        }
    }
    if (record->mask & TCIF_PARAM) {
        tab.data = record->lParam;
    }
    const int at = std::min(index, static_cast<int>(tabs_.size()));
    tabs_.insert(tabs_.begin() + at, std::move(tab));
    if (selected_ < 0) {
        selected_ = 0;
    } else if (selected_ >= at) {
        ++selected_;
    }
    LayOut();
    return at;
}

BOOL TabControl::GetItem(int index, TCITEMW* record) const {
    if (!record || !Valid(index)) {
        return 0;
    }
    const Tab& tab = tabs_[static_cast<std::size_t>(index)];
    if ((record->mask & TCIF_TEXT) && record->pszText && record->cchTextMax > 0) {
        const int count = std::min(static_cast<int>(tab.label.size()), record->cchTextMax - 1);
        std::copy_n(tab.label.begin(), count, record->pszText);
        record->pszText[count] = u'\0';
    }
    if (record->mask & TCIF_PARAM) {
        record->lParam = tab.data;
    }
    return 1;
}

void TabControl::OnKeyDown(int key) {
    if (key == VK_LEFT && selected_ > 0) {
        SelectByUser(selected_ - 1);
    } else if (key == VK_RIGHT && Valid(selected_ + 1)) {
        SelectByUser(selected_ + 1);
    }
}

std::optional<LRESULT> TabControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(tabs_.size());
        case TCM_INSERTITEMW:
            return InsertItem(static_cast<int>(wParam), PointerFromParam<const TCITEMW>(lParam));
        case TCM_GETITEMW:
            return GetItem(static_cast<int>(wParam), PointerFromParam<TCITEMW>(lParam));
        case TCM_DELETEITEM: {
            const int index = static_cast<int>(wParam);
            if (!Valid(index)) {
                return 0;
            }
            tabs_.erase(tabs_.begin() + index);
            if (selected_ == index) {
                selected_ = -1;
            } else if (selected_ > index) {
                --selected_;
            }
            LayOut();
            return 1;
        }
        case TCM_DELETEALLITEMS:
            tabs_.clear();
            selected_ = -1;
            LayOut();
            return 1;
        case TCM_GETITEMRECT: {
            auto* rect = PointerFromParam<RECT>(lParam);
            const int index = static_cast<int>(wParam);
            if (!rect || !Valid(index)) {
                return 0;
            }
            *rect = layout_.tabs[static_cast<std::size_t>(index)];
            return 1;
        }
        case TCM_GETCURSEL:
            return selected_;
        case TCM_SETCURSEL: {
            const int index = static_cast<int>(wParam);
            if (!Valid(index)) {
                return -1;
            }
            const int previous = std::exchange(selected_, index);
            LayOut();
            return previous;
        }
        case TCM_HITTEST: {
            auto* info = PointerFromParam<TCHITTESTINFO>(lParam);
            if (!info) {
                return -1;
            }
            const int index = HitTest(info->pt);
            info->flags = index >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return index;
        }
        case TCM_SETITEMSIZE: {
            const SIZE previous = itemSize_;
            itemSize_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            LayOut();
            return MAKELPARAM(previous.cx, previous.cy);
        }
        case TCM_SETPADDING:
            padding_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            LayOut();
            return 0;
        case TCM_GETROWCOUNT:
            return layout_.rows;
        case TCM_SETMINTABWIDTH: {
            const int previous = minWidth_;
            minWidth_ = static_cast<int>(lParam);
            LayOut();
            return previous;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

ATOM RegisterTabControlClass() {
    return RegisterControlClass<TabControl>(WC_TABCONTROL, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace qv
