#include "platform/pocket/bar_painter.h"

#include <optional>

#include "platform/controls/control_paint.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/look/classic_look.h"

namespace qv {

void PaintBar(HDC dc, const RECT& client, BarEdge edge, HFONT font,
              const std::function<void(HDC dc, const RECT& client)>& content) {
    FillWithColour(dc, client, COLOR_BTNFACE);
    if (edge == BarEdge::Top) {
        FillWithColour(dc, {0, 0, client.right, 1}, COLOR_BTNSHADOW);
        FillSolid(dc, {0, 1, client.right, 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
        FillWithColour(dc, {0, client.bottom - 2, client.right, client.bottom - 1},
                       COLOR_BTNSHADOW);
        FillWithColour(dc, {0, client.bottom - 1, client.right, client.bottom}, COLOR_3DDKSHADOW);
    }
    std::optional<SelectionScope> selected;
    if (font) {
        selected.emplace(dc, font);
    }
    SetBkMode(dc, TRANSPARENT);
    content(dc, client);
}

}  // namespace qv
