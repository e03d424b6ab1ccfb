#include "platform/user/defaults/default_window_procedure.h"

#include <algorithm>

#include "platform/gdi/shapes.h"
#include "platform/user/api/default_support.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/non_client.h"
#include "platform/user/defaults/scroll_bar_tracking.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

Window::IconSize IconSizeOf(WPARAM which) {
    return which == ICON_BIG ? Window::IconSize::Big : Window::IconSize::Small;
}

}  // namespace

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* found = WindowFromHandle(window);
    if (!found) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE:
            return 1;  // the text was set when the window was made
        case WM_NCCALCSIZE:
            return DefaultNcCalcSize(*found, lParam);
        case WM_NCHITTEST:
            return DefaultNcHitTest(*found, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_NCPAINT:
            DefaultNcPaint(*found);
            return 0;
        case WM_NCLBUTTONDOWN:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONUP:
            DefaultNcPen(*found, message, wParam, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_CAPTURECHANGED:
            ScrollBarCaptureLost(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            const HBRUSH brush = found->Class()->attributes.hbrBackground;
            const HDC dc = reinterpret_cast<HDC>(wParam);
            if (!brush || !dc) {
                return 0;
            }
            const RECT client = found->ClientRect();
            FillRect(dc, &client, brush);
            return 1;
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_SETTEXT: {
            const auto* text = PointerFromParam<const char16_t>(lParam);
            found->SetText(text ? text : u"");
            if ((found->Style() & WS_CAPTION) == WS_CAPTION) {
                MarkFrameStale(window);
            }
            NotifyTitleChanged(window);
            return 1;
        }
        case WM_GETTEXT: {
            auto* buffer = PointerFromParam<char16_t>(lParam);
            if (!buffer || wParam == 0) {
                return 0;
            }
            const std::size_t count = std::min<std::size_t>(found->Text().size(), wParam - 1);
            std::copy_n(found->Text().begin(), count, buffer);
            buffer[count] = u'\0';
            return static_cast<LRESULT>(count);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(found->Text().size());
        case WM_SETFONT:
            found->SetFont(reinterpret_cast<HFONT>(wParam));
            if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) {
                InvalidateRect(window, nullptr, 1);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(found->Font());
        case WM_SETICON:
            return reinterpret_cast<LRESULT>(
                found->SetIcon(IconSizeOf(wParam), reinterpret_cast<HICON>(lParam)));
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(found->Icon(IconSizeOf(wParam)));
        case WM_CANCELMODE:
            if (GetCapture()) {
                ReleaseCapture();
            }
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                SetFocus(window);
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace qv
