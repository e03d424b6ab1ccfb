#include "platform/user/core/frame_painter.h"

#include <vector>

#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/user/core/activation_focus.h"
#include "platform/user/core/window_access.h"
#include "platform/user/look/classic_look.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr COLORREF kFrameColour = RGB(0, 0, 0);
constexpr COLORREF kActiveCaption = RGB(0, 0, 128);
constexpr COLORREF kInactiveCaption = RGB(128, 128, 128);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);

bool HasNonClientArea(const Window& window) {
    const RECT insets = window.FrameInsets();
    return insets.left != 0 || insets.top != 0 || insets.right != 0 || insets.bottom != 0;
}

bool HasCaption(const Window& window) {
    return (window.Style() & WS_CAPTION) == WS_CAPTION;
}

void ShownTopFirst(const Window& window, std::vector<HWND>& handles) {
    for (const Window* child : window.Children()) {
        if ((child->Style() & WS_VISIBLE) != 0) {
            handles.push_back(child->Handle());
            ShownTopFirst(*child, handles);
        }
    }
}

}  // namespace

FramePainter::FramePainter() {
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    attributes.lfWeight = FW_BOLD;
    captionFont_.reset(CreateFontIndirectW(&attributes));
}

bool FramePainter::PaintStale(WindowAccess& windows, const Window& desktop,
                              const ActivationFocus& activation) {
    // Handlers may destroy windows, so the windows are named before any is sent a message.
    std::vector<HWND> handles;
    ShownTopFirst(desktop, handles);
    bool sent = false;
    for (const HWND handle : handles) {
        const Window* window = windows.Find(handle);
        if (!window || !window->IsShown() || !HasNonClientArea(*window)) {
            continue;
        }
        const bool active = handle == activation.Active();
        const auto found = painted_.find(handle);
        if (found != painted_.end() && (!HasCaption(*window) || found->second.active == active)) {
            continue;
        }
        painted_[handle] = {active};
        windows.Send(handle, WM_NCPAINT, 1, 0);
        sent = true;
    }
    return sent;
}

void FramePainter::Paint(HDC dc, const Window& window, bool active) const {
    const RECT insets = window.FrameInsets();
    if ((window.Style() & (WS_BORDER | WS_DLGFRAME)) == 0 ||
        (insets.left == 0 && insets.top == 0)) {
        return;
    }
    const int width = window.Width();
    const int height = window.Height();
    FillSolid(dc, {0, 0, width, 1}, kFrameColour);
    FillSolid(dc, {0, height - 1, width, height}, kFrameColour);
    FillSolid(dc, {0, 0, 1, height}, kFrameColour);
    FillSolid(dc, {width - 1, 0, width, height}, kFrameColour);
    if (!HasCaption(window)) {
        return;
    }
    const RECT bar{1, 1, width - 1, 1 + kCaptionHeight};
    FillSolid(dc, bar, active ? kActiveCaption : kInactiveCaption);
    SelectionScope font(dc, captionFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionText);
    RECT text{bar.left + 4, bar.top, bar.right - 4, bar.bottom};
    DrawTextW(dc, window.Text(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace qv
