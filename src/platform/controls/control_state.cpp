#include "platform/controls/control_state.h"

#include "platform/controls/control_paint.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"

namespace qv {

HFONT ControlState::TextFont() const {
    return ControlFont(font_);
}

void ControlState::Redraw() const {
    InvalidateRect(window_, nullptr, 0);
}

LRESULT ControlState::Paint() {
    PAINTSTRUCT paint;
    PaintEvent event;
    event.dc = BeginPaint(window_, &paint);
    if (event.dc) {
        GetClientRect(window_, &event.client);
        event.area = paint.rcPaint;
        OnPaint(event);
    }
    EndPaint(window_, &paint);
    return 0;
}

std::optional<LRESULT> ControlState::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::optional<LRESULT> answer = OnMessage(message, wParam, lParam)) {
        return answer;
    }
    const POINT pen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_PAINT:
            return Paint();
        case WM_ERASEBKGND:
            if (backdrop_ == Backdrop::ClassBrush) {
                return std::nullopt;
            }
            return 1;
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_LBUTTONDOWN:
            OnPenDown(pen);
            return 0;
        case WM_MOUSEMOVE:
            OnPenMove(pen, (wParam & MK_LBUTTON) != 0);
            return 0;
        case WM_LBUTTONUP:
            OnPenUp(pen);
            return 0;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            // The default procedure ends a scroll bar's hold or gives the capture up.
            OnCaptureLost();
            return std::nullopt;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
            OnKeyUp(static_cast<int>(wParam));
            return 0;
        case WM_SYSKEYDOWN:
            OnSystemKeyDown(static_cast<int>(wParam));
            return 0;
        case WM_CHAR:
            OnCharacter(static_cast<char16_t>(wParam));
            return 0;
        case WM_SYSCHAR:
            OnSystemCharacter(static_cast<char16_t>(wParam));
            return 0;
        case WM_SETFOCUS:
            OnFocus();
            return 0;
        case WM_KILLFOCUS:
            OnFocusLost();
            return 0;
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_ENABLE:
            OnEnable();
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            OnTextChanged();
            return result;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            OnFontChanged();
            return std::nullopt;
        case WM_GETDLGCODE:
            return DialogCode();
        default:
            return std::nullopt;
    }
}

}  // namespace qv
