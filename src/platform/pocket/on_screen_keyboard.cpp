#include "platform/pocket/on_screen_keyboard.h"

#include <string>

#include "platform/controls/button_painter.h"
#include "platform/controls/control_paint.h"
#include "platform/pocket/key_preview.h"
#include "platform/pocket/shell_layout.h"
#include "platform/pocket/shell_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/defaults/default_window_procedure.h"

namespace qv {

namespace {

UniqueFont MakeFont(LONG height) {
    LOGFONTW attributes;
    attributes.lfHeight = height;
    return UniqueFont(CreateFontIndirectW(&attributes));
}

// Backspace held down repeats after a pause, as a physical key does.
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelayMs = 500;
constexpr UINT kRepeatPeriodMs = 100;

void SendKey(InputEvent::Kind kind, int virtualKey) {
    InputEvent event;
    event.kind = kind;
    event.virtualKey = virtualKey;
    SendKeyboardInput(event);
}

}  // namespace

OnScreenKeyboard::OnScreenKeyboard(HWND window, const CREATESTRUCTW&)
    : ControlState(window), keyFont_(MakeFont(-11)), labelFont_(MakeFont(-9)) {}

void OnScreenKeyboard::OnPenDown(POINT point) {
    SetCapture(Window());
    Press(KeyAt(state_.Layout(), point));
}

void OnScreenKeyboard::OnPenMove(POINT point, bool) {
    if (GetCapture() == Window()) {
        Press(KeyAt(state_.Layout(), point));
    }
}

void OnScreenKeyboard::OnPenUp(POINT) {
    if (GetCapture() != Window()) {
        return;
    }
    const KeyCap* key = pressed_;
    const bool repeated = repeated_;
    Press(nullptr);
    ReleaseCapture();
    if (key && !repeated) {
        Type(*key);
    }
}

void OnScreenKeyboard::OnTimer(UINT_PTR id) {
    if (id == kRepeatTimer && pressed_) {
        repeated_ = true;
        Type(*pressed_);
        SetTimer(Window(), kRepeatTimer, kRepeatPeriodMs, nullptr);
    }
}

std::u16string OnScreenKeyboard::LabelOf(const KeyCap& key) const {
    switch (key.action) {
        case KeyAction::Character:
            return std::u16string(1, state_.CharacterOf(key));
        case KeyAction::Shift:
            return u"⇧";
        case KeyAction::Caps:
            return u"Caps";
        case KeyAction::Backspace:
            return u"←";
        case KeyAction::Return:
            return u"↵";
        case KeyAction::Space:
            return u"";
        case KeyAction::NextLayout:
            return std::u16string(LayoutOf(NextLayout(state_.Layout().id)).name);
    }
    return u"";
}

void OnScreenKeyboard::OnPaint(const PaintEvent& paint) {
    const HDC dc = paint.dc;
    FillWithColour(dc, paint.client, COLOR_BTNFACE);
    for (const KeyCap& key : state_.Layout().keys) {
        const std::u16string label = LabelOf(key);
        ButtonLook look;
        look.text = label;
        look.font = key.action == KeyAction::Character ? keyFont_.get() : labelFont_.get();
        look.pressed = &key == pressed_ || (key.action == KeyAction::Shift && state_.Shift()) ||
                       (key.action == KeyAction::Caps && state_.Caps());
        PaintButton(dc, key.rect, look);
    }
}

void OnScreenKeyboard::Press(const KeyCap* key) {
    if (key == pressed_) {
        return;
    }
    const HWND self = Window();
    if (pressed_) {
        InvalidateRect(self, &pressed_->rect, 0);
    }
    pressed_ = key;
    repeated_ = false;
    if (key) {
        InvalidateRect(self, &key->rect, 0);
    }
    if (key && key->action == KeyAction::Backspace) {
        SetTimer(self, kRepeatTimer, kRepeatDelayMs, nullptr);
    } else {
        KillTimer(self, kRepeatTimer);
    }
    if (key && key->action == KeyAction::Character) {
        ShowPreview(*key);
    } else if (preview_) {
        ShowWindow(preview_, SW_HIDE);
    }
}

void OnScreenKeyboard::ShowPreview(const KeyCap& key) {
    if (!preview_) {
        preview_ = CreateKeyPreview(Window());
        if (!preview_) {
            return;
        }
    }
    POINT corner{key.rect.left, key.rect.top};
    ClientToScreen(Window(), &corner);
    const RECT onScreen{corner.x, corner.y, corner.x + (key.rect.right - key.rect.left),
                        corner.y + (key.rect.bottom - key.rect.top)};
    ShowKeyPreview(preview_, LabelOf(key), onScreen);
}

void OnScreenKeyboard::Type(const KeyCap& key) {
    const std::optional<Keystroke> stroke = state_.Tap(key);
    // A mode may have changed what every key shows.
    InvalidateRect(Window(), nullptr, 0);
    if (!stroke) {
        return;
    }
    if (stroke->virtualKey != 0) {
        SendKey(InputEvent::Kind::KeyDown, stroke->virtualKey);
    }
    if (stroke->character != 0) {
        InputEvent event;
        event.kind = InputEvent::Kind::Character;
        event.character = stroke->character;
        SendKeyboardInput(event);
    }
    if (stroke->virtualKey != 0) {
        SendKey(InputEvent::Kind::KeyUp, stroke->virtualKey);
    }
}

HWND CreateOnScreenKeyboard() {
    return CreateShellWindow<OnScreenKeyboard>(kOnScreenKeyboardClassName, InputPanelRect());
}

bool IsOnScreenKeyboard(HWND window) {
    return IsWindowOfClass(window, kOnScreenKeyboardClassName);
}

}  // namespace qv
