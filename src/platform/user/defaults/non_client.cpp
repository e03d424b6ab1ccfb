#include "platform/user/defaults/non_client.h"

#include <algorithm>

#include "platform/gdi/rectangle_math.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/default_support.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/defaults/scroll_bar_tracking.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

HDC GetWindowDC(HWND window) {
    Window* found = WindowFromHandle(window);
    if (!found || found->IsDesktop()) {
        return nullptr;
    }
    return found->Surface().Lend({0, 0}, RECT{0, 0, found->Width(), found->Height()});
}

LRESULT DefaultNcCalcSize(const Window& window, LPARAM lParam) {
    auto* client = PointerFromParam<RECT>(lParam);
    if (!client) {
        return 0;
    }
    if ((window.Style() & (WS_BORDER | WS_DLGFRAME)) != 0) {
        *client = {client->left + 1, client->top + 1, client->right - 1, client->bottom - 1};
    }
    if ((window.Style() & WS_CAPTION) == WS_CAPTION) {
        client->top += kCaptionHeight;
    }
    if ((window.Style() & WS_VSCROLL) != 0) {
        client->right -= ScrollBarLayout::kWidth;
    }
    if ((window.Style() & WS_HSCROLL) != 0) {
        client->bottom -= ScrollBarLayout::kWidth;
    }
    client->right = std::max(client->right, client->left);
    client->bottom = std::max(client->bottom, client->top);
    return 0;
}

LRESULT DefaultNcHitTest(const Window& window, POINT screen) {
    const POINT origin = window.ScreenOrigin();
    const POINT point{screen.x - origin.x, screen.y - origin.y};
    if (!rect::Contains({0, 0, window.Width(), window.Height()}, point)) {
        return HTNOWHERE;
    }
    const RECT insets = window.FrameInsets();
    const RECT client = rect::Offset(window.ClientRect(), insets.left, insets.top);
    if (rect::Contains(client, point)) {
        return HTCLIENT;
    }
    if (rect::Contains(GetScrollBarRect(window.Handle(), ScrollBarAxis::Vertical), point)) {
        return HTVSCROLL;
    }
    if (rect::Contains(GetScrollBarRect(window.Handle(), ScrollBarAxis::Horizontal), point)) {
        return HTHSCROLL;
    }
    if ((window.Style() & WS_CAPTION) == WS_CAPTION && point.y < client.top &&
        point.y >= insets.top - kCaptionHeight) {
        return HTCAPTION;
    }
    return HTBORDER;
}

void DefaultNcPaint(const Window& window) {
    const HWND handle = window.Handle();
    const HDC dc = GetWindowDC(handle);
    if (!dc) {
        return;
    }
    DrawWindowFrame(dc, handle);
    for (const ScrollBarAxis axis : {ScrollBarAxis::Vertical, ScrollBarAxis::Horizontal}) {
        const DWORD style = axis == ScrollBarAxis::Vertical ? WS_VSCROLL : WS_HSCROLL;
        if ((window.Style() & style) != 0) {
            PaintScrollBar(dc, GetScrollBarLayout(handle, axis),
                           GetScrollBarPressedPart(handle, axis));
        }
    }
    FillSolid(dc, GetScrollBarCorner(handle), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(handle, dc);
}

void DefaultNcPen(const Window& window, UINT message, WPARAM hit, POINT screen) {
    const HWND handle = window.Handle();
    if (message == WM_NCLBUTTONDOWN && static_cast<LRESULT>(hit) == HTVSCROLL) {
        ScrollBarPenDown(handle, ScrollBarAxis::Vertical, screen);
    } else if (message == WM_NCLBUTTONDOWN && static_cast<LRESULT>(hit) == HTHSCROLL) {
        ScrollBarPenDown(handle, ScrollBarAxis::Horizontal, screen);
    } else if (message == WM_NCMOUSEMOVE) {
        ScrollBarPenMove(handle, screen);
    } else if (message == WM_NCLBUTTONUP) {
        ScrollBarPenUp(handle);
    }
}

}  // namespace qv
