#include "platform/pocket/key_preview.h"

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/pocket/shell_window.h"
#include "platform/user/api/message_functions.h"

namespace qv {

namespace {

constexpr int kGrowth = 12;
constexpr int kMinimumWidth = 32;
constexpr int kHeight = 34;
// Room between the preview and the key, so that the key's own press still shows.
constexpr int kLift = 2;

}  // namespace

KeyPreview::KeyPreview(HWND window, const CREATESTRUCTW&) : ControlState(window) {
    LOGFONTW attributes;
    attributes.lfHeight = -20;
    attributes.lfWeight = FW_BOLD;
    font_.reset(CreateFontIndirectW(&attributes));
}

void KeyPreview::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    RECT inside = DrawFrame(dc, paint.client, COLOR_3DDKSHADOW);
    inside = DrawBevel(dc, inside, Bevel::Raised);
    FillWithColour(dc, inside, COLOR_BTNFACE);
    SelectionScope font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, GetWindowText(Window()), &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

HWND CreateKeyPreview(HWND keyboard) {
    return CreateShellWindow<KeyPreview>(kKeyPreviewClassName, {0, 0, kMinimumWidth, kHeight},
                                         keyboard);
}

void ShowKeyPreview(HWND preview, std::u16string_view text, const RECT& key) {
    const int width = std::max<int>(kMinimumWidth, key.right - key.left + kGrowth);
    const int left = std::clamp<int>((key.left + key.right - width) / 2, 0, kScreenWidth - width);
    const int top = std::max<int>(0, key.top - kLift - kHeight);
    SetWindowTextW(preview, text);
    MoveWindow(preview, left, top, width, kHeight, 1);
    ShowWindow(preview, SW_SHOWNA);
}

}  // namespace qv
