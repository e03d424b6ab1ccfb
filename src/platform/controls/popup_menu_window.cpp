#include "platform/controls/popup_menu_window.h"

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/popup_menu_placement.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/paint_functions.h"

namespace qv {

namespace {

// Geometry in logical pixels: a one-pixel frame, text rows with room above and below the
// letters, a column left of the text where the classic menus keep their check marks.
constexpr int kFrame = 1;
constexpr int kRowPadding = 3;
constexpr int kTextLeft = 14;
constexpr int kTextRight = 14;
constexpr int kSeparatorHeight = 7;
constexpr int kSeparatorInset = 2;
constexpr LONG kFontHeight = -11;

}  // namespace

PopupMenuWindow::PopupMenuWindow(HWND window, const CREATESTRUCTW& creation)
    : ControlState(window) {
    if (const auto* request = static_cast<const PopupMenuRequest*>(creation.lpCreateParams)) {
        request_ = *request;
    }
    LOGFONTW attributes;
    attributes.lfHeight = kFontHeight;
    font_.reset(CreateFontIndirectW(&attributes));
    if (!request_.menu) {
        return;
    }
    for (const MenuItem& item : request_.menu->Items()) {
        Row row;
        row.separator = (item.flags & MF_SEPARATOR) != 0;
        row.label = ParseMenuLabel(row.separator ? std::u16string_view() : item.text);
        row.id = item.id;
        row.selectable = IsSelectableMenuItem(item);
        rows_.push_back(std::move(row));
    }
}

std::optional<LRESULT> PopupMenuWindow::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case MN_GETHMENU:
            return reinterpret_cast<LRESULT>(request_.menu);
        case MN_SELECTITEM: {
            const int row = static_cast<int>(static_cast<INT_PTR>(wParam));
            if (row != -1 && (row < 0 || row >= static_cast<int>(rows_.size()) ||
                              !rows_[static_cast<std::size_t>(row)].selectable)) {
                return 0;
            }
            Highlight(row);
            return 1;
        }
        default:
            return std::nullopt;
    }
}

bool PopupMenuWindow::LayOut() {
    if (rows_.empty() || !font_) {
        return false;
    }
    DeviceContext measure(1);
    SelectionScope font(&measure, font_.get());
    TEXTMETRICW metrics;
    GetTextMetricsW(&measure, &metrics);
    const int textRowHeight = metrics.tmHeight + 2 * kRowPadding;
    int widest = 0;
    int top = kFrame;
    for (Row& row : rows_) {
        const int height = row.separator ? kSeparatorHeight : textRowHeight;
        row.rect = {kFrame, top, 0, top + height};
        top += height;
        if (!row.separator) {
            widest = std::max<int>(widest, MeasureText(&measure, row.label.text).cx);
        }
    }
    const SIZE size{kFrame + kTextLeft + widest + kTextRight + kFrame, top + kFrame};
    for (Row& row : rows_) {
        row.rect.right = size.cx - kFrame;
    }
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT placed = PlacePopupMenu(size, request_.point, request_.flags, screen,
                                       request_.exclude ? &*request_.exclude : nullptr);
    MoveWindow(Window(), placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, 0);
    return true;
}

void PopupMenuWindow::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    const RECT& client = paint.client;
    FillWithColour(dc, client, COLOR_WINDOW);
    DrawFrame(dc, client, COLOR_WINDOWTEXT);
    {
        SelectionScope font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            PaintRow(dc, rows_[i], static_cast<int>(i) == highlight_, metrics);
        }
    }
}

void PopupMenuWindow::PaintRow(HDC dc, const Row& row, bool highlighted,
                               const TEXTMETRICW& metrics) {
    if (row.separator) {
        const LONG middle = (row.rect.top + row.rect.bottom) / 2;
        FillWithColour(
            dc,
            {row.rect.left + kSeparatorInset, middle, row.rect.right - kSeparatorInset, middle + 1},
            COLOR_BTNSHADOW);
        return;
    }
    if (highlighted) {
        FillWithColour(dc, row.rect, COLOR_HIGHLIGHT);
    }
    const int colour = !row.selectable ? COLOR_BTNSHADOW
                       : highlighted   ? COLOR_HIGHLIGHTTEXT
                                       : COLOR_WINDOWTEXT;
    SetTextColor(dc, GetSysColor(colour));
    const LONG textTop = row.rect.top + (row.rect.bottom - row.rect.top - metrics.tmHeight) / 2;
    RECT text{row.rect.left + kTextLeft, textTop, row.rect.right, textTop + metrics.tmHeight};
    DrawTextW(dc, row.label.text, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
    if (row.label.mnemonic >= 0) {
        const auto at = static_cast<std::size_t>(row.label.mnemonic);
        const std::u16string_view shown = row.label.text;
        const LONG left = text.left + MeasureText(dc, shown.substr(0, at)).cx;
        const LONG width = MeasureText(dc, shown.substr(at, 1)).cx;
        const LONG underline = textTop + metrics.tmAscent + 1;
        FillWithColour(dc, {left, underline, left + width, underline + 1}, colour);
    }
}

std::optional<RECT> PopupMenuWindow::ItemRect(int position) const {
    if (position < 0 || position >= static_cast<int>(rows_.size())) {
        return std::nullopt;
    }
    return rows_[static_cast<std::size_t>(position)].rect;
}

int PopupMenuWindow::RowAt(POINT point) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rect::Contains(rows_[i].rect, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void PopupMenuWindow::Highlight(int row) {
    if (row == highlight_) {
        return;
    }
    for (const int changed : {highlight_, row}) {
        if (changed >= 0) {
            InvalidateRect(Window(), &rows_[static_cast<std::size_t>(changed)].rect, 0);
        }
    }
    highlight_ = row;
}

void PopupMenuWindow::Step(int direction) {
    const int count = static_cast<int>(rows_.size());
    const int from = highlight_ >= 0 ? highlight_ : (direction > 0 ? -1 : count);
    for (int k = 1; k <= count; ++k) {
        const int row = ((from + direction * k) % count + count) % count;
        if (rows_[static_cast<std::size_t>(row)].selectable) {
            Highlight(row);
            return;
        }
    }
}

void PopupMenuWindow::TypeMnemonic(char16_t typed) {
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    // One item with the letter is chosen at once; several take the highlight in turn.
    std::vector<int> matches;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].selectable && MatchesMnemonic(rows_[i].label, typed)) {
            matches.push_back(static_cast<int>(i));
        }
    }
    if (matches.size() == 1) {
        Highlight(matches.front());
        Finish(MenuOutcome::Chosen, rows_[static_cast<std::size_t>(matches.front())].id);
    } else if (!matches.empty()) {
        const auto next = std::upper_bound(matches.begin(), matches.end(), highlight_);
        Highlight(next == matches.end() ? matches.front() : *next);
    }
}

void PopupMenuWindow::OnKeyDown(int key) {
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    switch (key) {
        case VK_UP:
            Step(-1);
            break;
        case VK_DOWN:
            Step(1);
            break;
        case VK_RETURN:
            if (highlight_ >= 0) {
                Finish(MenuOutcome::Chosen, rows_[static_cast<std::size_t>(highlight_)].id);
            }
            break;
        case VK_ESCAPE:
            Finish(MenuOutcome::Dismissed, 0);
            break;
        default:
            break;
    }
}

std::optional<int> PopupMenuWindow::PenRow(POINT point) const {
    RECT client;
    GetClientRect(Window(), &client);
    if (!rect::Contains(client, point)) {
        return std::nullopt;
    }
    const int row = RowAt(point);
    return row >= 0 && rows_[static_cast<std::size_t>(row)].selectable ? row : -1;
}

void PopupMenuWindow::OnPenDown(POINT point) {
    penHeld_ = true;
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    const std::optional<int> row = PenRow(point);
    if (!row) {
        Finish(MenuOutcome::Dismissed, 0);
        return;
    }
    Highlight(*row);
}

void PopupMenuWindow::OnPenMove(POINT point, bool held) {
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    // A pen hovering elsewhere leaves the keyboard's highlight alone; one dragged off the items
    // takes it away.
    const std::optional<int> row = PenRow(point);
    if (row || held) {
        Highlight(row.value_or(-1));
    }
}

void PopupMenuWindow::OnPenUp(POINT point) {
    penHeld_ = false;
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    const std::optional<int> row = PenRow(point);
    if (row && *row >= 0) {
        Highlight(*row);
        Finish(MenuOutcome::Chosen, rows_[static_cast<std::size_t>(*row)].id);
    }
}

void PopupMenuWindow::Finish(MenuOutcome outcome, UINT chosen) {
    if (outcome_ != MenuOutcome::Open) {
        return;
    }
    outcome_ = outcome;
    chosen_ = chosen;
    ShowWindow(Window(), SW_HIDE);
}

bool RegisterPopupMenuClass() {
    return RegisterControlClass<PopupMenuWindow>(kPopupMenuClassName) != 0;
}

PopupMenuWindow* PopupMenuOf(HWND window) {
    // Other classes keep other things in the slot where a control keeps its state.
    if (!IsWindowOfClass(window, kPopupMenuClassName)) {
        return nullptr;
    }
    return ControlStateOf<PopupMenuWindow>(window);
}

}  // namespace qv
