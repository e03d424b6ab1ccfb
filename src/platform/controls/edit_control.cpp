#include "platform/controls/edit_control.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr UINT_PTR kCaretTimer = 1;
constexpr UINT kCaretBlinkMs = 500;
constexpr int kMargin = 2;

EditBuffer::Extend ShiftExtends() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? EditBuffer::Extend::Yes : EditBuffer::Extend::No;
}

// EM_SETSEL's positions arrive as 32-bit numbers, -1 among them.
long SelectionParam(std::uintptr_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

EditControl::EditControl(HWND window, const CREATESTRUCTW& creation) : ControlState(window) {
    buffer_.SetText(creation.lpszName ? std::u16string_view(creation.lpszName) : u"");
}

DWORD EditControl::Style() const {
    return static_cast<DWORD>(GetWindowLongW(Window(), GWL_STYLE));
}

LONG EditControl::OffsetOf(HDC dc, std::size_t position) const {
    const std::u16string_view text = buffer_.Text();
    return position == 0 ? 0 : MeasureText(dc, text.substr(0, std::min(position, text.size()))).cx;
}

template <class Measure>
LONG EditControl::Measuring(Measure measure) const {
    const HDC dc = GetDC(Window());
    if (!dc) {
        return 0;
    }
    LONG result = 0;
    {
        SelectionScope font(dc, TextFont());
        result = measure(dc);
    }
    ReleaseDC(Window(), dc);
    return result;
}

RECT EditControl::TextArea() const {
    RECT client;
    GetClientRect(Window(), &client);
    return {kMargin, 0, std::max<LONG>(kMargin, client.right - kMargin), client.bottom};
}

std::size_t EditControl::PositionAt(int x) const {
    const LONG along = x - kMargin + scroll_;
    // The boundary nearest the pen: past a character's middle is after it. The middles grow
    // along the text, so the first one past the pen is searched for by halves.
    return static_cast<std::size_t>(Measuring([&](HDC dc) {
        std::size_t low = 0;
        std::size_t high = buffer_.Text().size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (along < (OffsetOf(dc, middle) + OffsetOf(dc, middle + 1) + 1) / 2) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        return static_cast<LONG>(low);
    }));
}

void EditControl::KeepCaretInView() {
    if ((Style() & ES_AUTOHSCROLL) == 0) {
        scroll_ = 0;
        return;
    }
    const RECT area = TextArea();
    const LONG width = area.right - area.left;
    LONG textWidth = 0;
    const LONG caret = Measuring([&](HDC dc) {
        textWidth = OffsetOf(dc, buffer_.Text().size());
        return OffsetOf(dc, buffer_.Caret());
    });
    if (caret < scroll_) {
        scroll_ = caret;
    } else if (caret >= scroll_ + width) {
        scroll_ = caret - width + 1;
    }
    // No blank space is kept to the right of text that has become shorter.
    scroll_ = std::clamp<LONG>(scroll_, 0, std::max<LONG>(0, textWidth - width + 1));
}

void EditControl::Notify(WORD code) {
    const HWND self = Window();
    SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), code),
                 PointerParam(self));
}

void EditControl::ShowCaretNow() {
    if (focused_) {
        caretOn_ = true;
        SetTimer(Window(), kCaretTimer, kCaretBlinkMs, nullptr);
    }
}

void EditControl::Changed() {
    KeepCaretInView();
    ShowCaretNow();
    Redraw();
    Notify(EN_CHANGE);
}

void EditControl::OnCharacter(char16_t character) {
    if ((Style() & ES_READONLY) != 0) {
        return;
    }
    if (character == u'\b') {
        if (buffer_.DeleteBackward()) {
            Changed();
        }
        return;
    }
    if (character < u' ' || character == 0x7F) {
        return;
    }
    const EditBuffer before = buffer_;
    buffer_.SetDigitsOnly((Style() & ES_NUMBER) != 0);
    const EditBuffer::Typing typed = buffer_.Type(std::u16string_view(&character, 1));
    if (typed == EditBuffer::Typing::NotAllowed) {
        return;
    }
    // Without horizontal scrolling the text may not grow past the edit's right edge.
    if (typed != EditBuffer::Typing::Full && (Style() & ES_AUTOHSCROLL) == 0) {
        const RECT area = TextArea();
        const LONG textWidth =
            Measuring([&](HDC dc) { return OffsetOf(dc, buffer_.Text().size()); });
        if (textWidth > area.right - area.left) {
            buffer_ = before;
            Notify(EN_MAXTEXT);
            return;
        }
    }
    if (typed == EditBuffer::Typing::Full) {
        Notify(EN_MAXTEXT);
        return;
    }
    Changed();
}

void EditControl::OnKeyDown(int virtualKey) {
    const auto move = [&](EditBuffer::Move where) {
        buffer_.MoveCaret(where, ShiftExtends());
        KeepCaretInView();
        ShowCaretNow();
        Redraw();
    };
    switch (virtualKey) {
        case VK_LEFT:
            move(EditBuffer::Move::Left);
            break;
        case VK_RIGHT:
            move(EditBuffer::Move::Right);
            break;
        case VK_HOME:
            move(EditBuffer::Move::Home);
            break;
        case VK_END:
            move(EditBuffer::Move::End);
            break;
        case VK_DELETE:
            if ((Style() & ES_READONLY) == 0 && buffer_.DeleteForward()) {
                Changed();
            }
            break;
        default:
            break;
    }
}

void EditControl::OnPenDown(POINT point) {
    const HWND self = Window();
    if (GetFocus() != self) {
        SetFocus(self);
    }
    buffer_.PlaceCaret(PositionAt(point.x), ShiftExtends());
    dragging_ = true;
    SetCapture(self);
    KeepCaretInView();
    ShowCaretNow();
    Redraw();
}

LRESULT EditControl::CopyText(WPARAM size, LPARAM buffer) const {
    auto* target = PointerFromParam<char16_t>(buffer);
    if (!target || size == 0) {
        return 0;
    }
    const std::u16string& text = buffer_.Text();
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.begin(), count, target);
    target[count] = u'\0';
    return static_cast<LRESULT>(count);
}

void EditControl::OnPenMove(POINT point, bool) {
    if (dragging_) {
        buffer_.PlaceCaret(PositionAt(point.x), EditBuffer::Extend::Yes);
        KeepCaretInView();
        Redraw();
    }
}

void EditControl::OnPenUp(POINT) {
    if (dragging_) {
        dragging_ = false;
        if (GetCapture() == Window()) {
            ReleaseCapture();
        }
    }
}

void EditControl::OnFocus() {
    focused_ = true;
    ShowCaretNow();
    Redraw();
    Notify(EN_SETFOCUS);
}

void EditControl::OnFocusLost() {
    focused_ = false;
    caretOn_ = false;
    KillTimer(Window(), kCaretTimer);
    Redraw();
    Notify(EN_KILLFOCUS);
}

void EditControl::OnTimer(UINT_PTR id) {
    if (id == kCaretTimer) {
        caretOn_ = focused_ && !caretOn_;
        Redraw();
    }
}

std::optional<LRESULT> EditControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // The text is the buffer's, not the window's.
        case WM_SETTEXT: {
            const auto* text = PointerFromParam<const char16_t>(lParam);
            buffer_.SetText(text ? std::u16string_view(text) : u"");
            scroll_ = 0;
            Changed();
            return 1;
        }
        case WM_GETTEXT:
            return CopyText(wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(buffer_.Text().size());
        case EM_GETSEL: {
            const auto start = static_cast<DWORD>(buffer_.SelectionStart());
            const auto end = static_cast<DWORD>(buffer_.SelectionEnd());
            if (auto* out = reinterpret_cast<DWORD*>(wParam)) {
                *out = start;
            }
            if (auto* out = PointerFromParam<DWORD>(lParam)) {
                *out = end;
            }
            return MAKELPARAM(static_cast<int>(std::min<DWORD>(start, 0xFFFF)),
                              static_cast<int>(std::min<DWORD>(end, 0xFFFF)));
        }
        case EM_SETSEL:
            buffer_.Select(SelectionParam(wParam),
                           SelectionParam(static_cast<std::uintptr_t>(lParam)));
            KeepCaretInView();
            Redraw();
            return 0;
        case EM_REPLACESEL: {
            const auto* text = PointerFromParam<const char16_t>(lParam);
            const EditBuffer::Typing done = buffer_.Replace(text ? std::u16string_view(text) : u"");
            if (done != EditBuffer::Typing::Full) {
                Changed();
            }
            if (done == EditBuffer::Typing::Full || done == EditBuffer::Typing::Cut) {
                Notify(EN_MAXTEXT);
            }
            return 0;
        }
        case EM_LIMITTEXT:
            buffer_.SetLimit(wParam);
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(buffer_.Limit());
        default:
            return std::nullopt;
    }
}

void EditControl::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    const RECT& client = paint.client;
    const bool enabled = IsWindowEnabled(Window()) != 0;
    const bool editable = enabled && (Style() & ES_READONLY) == 0;
    FillWithColour(dc, client, editable ? COLOR_WINDOW : COLOR_BTNFACE);

    {
        const std::u16string& text = buffer_.Text();
        SelectionScope font(dc, TextFont());
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        const RECT area = TextArea();
        const LONG top = (client.bottom - metrics.tmHeight) / 2;
        const LONG origin = area.left - scroll_;
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        SetBkMode(dc, TRANSPARENT);

        // Three runs: before the selection, the selection (shown only while focused), after it.
        const bool showSelection = focused_ && buffer_.HasSelection();
        const std::size_t start = showSelection ? buffer_.SelectionStart() : text.size();
        const std::size_t end = showSelection ? buffer_.SelectionEnd() : text.size();
        const auto run = [&](std::size_t from, std::size_t to, int textColour) {
            if (from >= to) {
                return;
            }
            RECT cell{origin + OffsetOf(dc, from), top, origin + OffsetOf(dc, to) + 1,
                      top + metrics.tmHeight};
            SetTextColor(dc, GetSysColor(textColour));
            DrawTextW(dc, std::u16string_view(text).substr(from, to - from), &cell,
                      DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
        };
        const int ink = enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
        run(0, start, ink);
        if (showSelection) {
            const RECT band{origin + OffsetOf(dc, start), top, origin + OffsetOf(dc, end),
                            top + metrics.tmHeight};
            FillWithColour(dc, band, COLOR_HIGHLIGHT);
            run(start, end, COLOR_HIGHLIGHTTEXT);
        }
        run(end, text.size(), ink);
        if (focused_ && caretOn_) {
            const LONG x = std::min<LONG>(origin + OffsetOf(dc, buffer_.Caret()), area.right - 1);
            FillWithColour(dc, {x, top, x + 1, top + metrics.tmHeight}, COLOR_WINDOWTEXT);
        }
    }
}

bool RegisterEditClass() {
    return RegisterControlClass<EditControl>(kEditClassName) != 0;
}

}  // namespace qv
