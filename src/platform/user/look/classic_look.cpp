#include "platform/user/look/classic_look.h"

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"

namespace qv {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    const UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

void DrawRaisedButton(HDC dc, const RECT& r) {
    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, GetSysColor(COLOR_3DLIGHT));
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, GetSysColor(COLOR_3DLIGHT));
    FillSolid(dc, {r.left + 1, r.top + 1, r.right - 2, r.top + 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillSolid(dc, {r.left + 1, r.top + 1, r.left + 2, r.bottom - 2},
              GetSysColor(COLOR_BTNHIGHLIGHT));
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_3DDKSHADOW));
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_3DDKSHADOW));
    FillSolid(dc, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1},
              GetSysColor(COLOR_BTNSHADOW));
    FillSolid(dc, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1},
              GetSysColor(COLOR_BTNSHADOW));
}

void DrawArrow(HDC dc, const RECT& rect, ArrowDirection direction, COLORREF colour) {
    constexpr int kHalfWidth = 3;
    const bool across = direction == ArrowDirection::Left || direction == ArrowDirection::Right;
    const int centreX = (rect.left + rect.right - 1) / 2;
    const int centreY = (rect.top + rect.bottom - 1) / 2;
    const int top = (rect.top + rect.bottom) / 2 - (kHalfWidth + 1) / 2;
    const int left = (rect.left + rect.right) / 2 - (kHalfWidth + 1) / 2;
    for (int step = 0; step <= kHalfWidth; ++step) {
        const bool tipFirst = direction == ArrowDirection::Up || direction == ArrowDirection::Left;
        const int half = tipFirst ? step : kHalfWidth - step;
        if (across) {
            FillSolid(dc, {left + step, centreY - half, left + step + 1, centreY + half + 1},
                      colour);
        } else {
            FillSolid(dc, {centreX - half, top + step, centreX + half + 1, top + step + 1}, colour);
        }
    }
}

}  // namespace qv
