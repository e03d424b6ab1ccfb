#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/list_view_control.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/look/classic_look.h"

namespace qv::list_view {

void ListView::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    const RECT& area = paint.area;
    SelectionScope font(dc, TextFont());
    const RECT client = Client();
    NMLVCUSTOMDRAW draw;
    draw.nmcd.hdr = NotificationHeader(Window(), NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = client;
    const LRESULT answer = Notify(draw.nmcd.hdr);
    if (Gone()) {
        return;
    }
    FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
    if (!(answer & CDRF_SKIPDEFAULT)) {
        const int first = top_ + std::max(0, area.top) / rowHeight_;
        const int last = top_ + std::max(0, area.bottom - 1) / rowHeight_;
        for (int index = first; index <= last && items_.Valid(index); ++index) {
            if (!PaintRow(dc, index, (answer & CDRF_NOTIFYITEMDRAW) != 0)) {
                return;
            }
        }
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
        Notify(draw.nmcd.hdr);
    }
}

bool ListView::PaintRow(HDC dc, int index, bool notifyItems) {
    const int y = (index - top_) * rowHeight_;
    const int listRight = Client().right;
    NMLVCUSTOMDRAW draw;
    draw.nmcd.hdr = NotificationHeader(Window(), NM_CUSTOMDRAW);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = {0, y, listRight, y + rowHeight_};
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
    const ListViewItem& before = items_.At(index);
    draw.nmcd.uItemState = ((before.state & LVIS_SELECTED) ? CDIS_SELECTED : 0) |
                           ((before.state & LVIS_FOCUSED) && focused_ ? CDIS_FOCUS : 0);
    draw.nmcd.lItemlParam = before.data;
    draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    draw.clrTextBk = GetSysColor(COLOR_WINDOW);
    LRESULT answer = CDRF_DODEFAULT;
    if (notifyItems) {
        answer = Notify(draw.nmcd.hdr);
        if (Gone()) {
            return false;
        }
    }
    if ((answer & CDRF_SKIPDEFAULT) || !items_.Valid(index)) {
        return true;
    }
    // The parent may clear CDIS_SELECTED to have its own colours on a selected row.
    const bool highlighted =
        (draw.nmcd.uItemState & CDIS_SELECTED) && (focused_ || (Style() & LVS_SHOWSELALWAYS));
    const COLORREF selectedText = GetSysColor(focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const COLORREF selectedBack = GetSysColor(focused_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const bool fullRow = (extendedStyle_ & LVS_EX_FULLROWSELECT) != 0;
    const int image = items_.At(index).image;
    SetBkMode(dc, TRANSPARENT);
    int left = -left_;
    for (std::size_t column = 0; column < columns_.size() && left < listRight;
         left += columns_[column].width, ++column) {
        // The column's own edge, which may lie beyond the list's: its text is cut there.
        const int columnRight = left + columns_[column].width;
        if (columnRight <= 0) {
            continue;
        }
        const int right = std::min(listRight, columnRight);
        int labelLeft = left;
        if (column == 0 && smallImages_) {
            if (image >= 0) {
                ImageList_Draw(smallImages_, image, dc, left + kImageMargin,
                               y + (rowHeight_ - smallImages_->height) / 2, ILD_NORMAL);
            }
            labelLeft = std::min(columnRight, left + kImageMargin + ImageWidth() + kImageMargin);
        }
        const bool lit = highlighted && (column == 0 || fullRow);
        FillSolid(dc, {labelLeft, y, right, y + rowHeight_}, lit ? selectedBack : draw.clrTextBk);
        const std::u16string text = TextOf(index, static_cast<int>(column));
        if (Gone()) {
            return false;
        }
        if (!items_.Valid(index)) {
            return true;
        }
        SetTextColor(dc, lit ? selectedText : draw.clrText);
        const UINT align = column == 0                                ? DT_LEFT
                           : columns_[column].format == LVCFMT_RIGHT  ? DT_RIGHT
                           : columns_[column].format == LVCFMT_CENTER ? DT_CENTER
                                                                      : DT_LEFT;
        RECT textRect{labelLeft + kTextMargin, y, columnRight - kTextMargin, y + rowHeight_};
        DrawTextW(dc, text, &textRect, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
        Notify(draw.nmcd.hdr);
    }
    return !Gone();
}

}  // namespace qv::list_view
