#include "platform/user/core/input_router.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/rectangle_math.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/core/activation_focus.h"
#include "platform/user/core/scroll_bars.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "platform/user/records/window_tree.h"

namespace qv {

namespace {

RECT ScreenRect(const Window& window) {
    const POINT origin = window.ScreenOrigin();
    return {origin.x, origin.y, origin.x + window.Width(), origin.y + window.Height()};
}

RECT ClientScreenRect(const Window& window) {
    const POINT origin = window.ClientScreenOrigin();
    const RECT client = window.ClientRect();
    return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

}  // namespace

InputRouter::Request InputRouter::Route(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::PenDown:
            penDown_ = true;
            RoutePen(WM_LBUTTONDOWN, event.position);
            break;
        case InputEvent::Kind::PenMove:
            RoutePen(WM_MOUSEMOVE, event.position);
            break;
        case InputEvent::Kind::PenUp:
            penDown_ = false;
            RoutePen(WM_LBUTTONUP, event.position);
            break;
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp:
        case InputEvent::Kind::Character:
            RouteKey(event);
            break;
        case InputEvent::Kind::Wheel:
            RouteWheel(event);
            break;
        case InputEvent::Kind::Drop:
            RouteDrop(event);
            break;
        case InputEvent::Kind::ScaleChanged:
            return Request::Rescale;
        case InputEvent::Kind::Close:
            return Request::Close;
    }
    return Request::None;
}

std::optional<MSG> InputRouter::Take(const std::function<bool(const MSG&)>& wanted, bool remove) {
    const auto found = std::find_if(routed_.begin(), routed_.end(), wanted);
    if (found == routed_.end()) {
        return std::nullopt;
    }
    const MSG message = *found;
    if (remove) {
        routed_.erase(found);
    }
    return message;
}

HWND InputRouter::SetCapture(HWND window) {
    const HWND previous = capture_;
    capture_ = window;
    if (previous && previous != window) {
        windows_.Send(previous, WM_CAPTURECHANGED, 0, PointerParam(window));
    }
    return previous;
}

bool InputRouter::ReleaseCapture() {
    const HWND previous = capture_;
    capture_ = nullptr;
    if (previous) {
        windows_.Send(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

void InputRouter::Forget(HWND window) {
    if (capture_ == window) {
        capture_ = nullptr;
    }
}

SHORT InputRouter::KeyState(int virtualKey) const {
    bool down = keysDown_.contains(virtualKey);
    if (virtualKey == VK_CONTROL) {
        down = modifiers_.control;
    } else if (virtualKey == VK_MENU) {
        down = modifiers_.alt;
    } else if (virtualKey == VK_SHIFT) {
        down = modifiers_.shift;
    }
    return down ? static_cast<SHORT>(0x8000) : SHORT{0};
}

void InputRouter::RoutePen(UINT message, POINT screen) {
    penPosition_ = screen;
    const DWORD time = static_cast<DWORD>(host_.Now().count());
    Window* target = capture_ ? windows_.Find(capture_) : nullptr;
    // A window holding its own scroll bar keeps getting the pen as non-client input.
    LRESULT hit = HTCLIENT;
    if (const auto axis = target ? bars_.HeldAxis(capture_) : std::nullopt) {
        hit = *axis == ScrollBarAxis::Vertical ? HTVSCROLL : HTHSCROLL;
    }
    if (!target) {
        target = WindowAt(screen);
        // A window that a modal loop has disabled gets nothing.
        if (!target || !target->IsEnabledTree()) {
            return;
        }
        HWND handle = target->Handle();
        hit = windows_.Send(handle, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        target = windows_.Find(handle);
        // A child that lets the pen through hands it to its parent, which is asked in turn.
        while (target && hit == HTTRANSPARENT && target->Parent() != &tree_.Desktop()) {
            handle = target->Parent()->Handle();
            hit = windows_.Send(handle, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            target = windows_.Find(handle);
        }
        if (!target || hit == HTNOWHERE || hit == HTTRANSPARENT || hit == HTERROR) {
            return;
        }
        if (message == WM_LBUTTONDOWN && target->TopLevel().Handle() != activation_.Active()) {
            activation_.Activate(target->TopLevel().Handle(), WA_CLICKACTIVE);
            target = windows_.Find(handle);
            if (!target) {
                return;
            }
        }
    }
    if (hit != HTCLIENT) {
        // Non-client pen messages carry the part and the screen position.
        const UINT nonClient = message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        routed_.push_back({target->Handle(), nonClient, static_cast<WPARAM>(hit),
                           MAKELPARAM(screen.x, screen.y), time, screen});
        return;
    }
    const POINT client = target->ClientScreenOrigin();
    const WPARAM buttons = penDown_ ? MK_LBUTTON : 0;
    routed_.push_back({target->Handle(), message, buttons,
                       MAKELPARAM(screen.x - client.x, screen.y - client.y), time, screen});
}

void InputRouter::RouteKey(const InputEvent& event) {
    if (event.kind != InputEvent::Kind::Character) {
        modifiers_ = event.modifiers;
    }
    HWND handle = activation_.Focus() ? activation_.Focus() : activation_.Active();
    const Window* target = windows_.Find(handle);
    if (!target || !target->IsEnabledTree()) {
        return;
    }
    MSG message{handle, 0, 0, 1, static_cast<DWORD>(host_.Now().count()), penPosition_};
    const LPARAM alt = event.modifiers.alt ? KF_ALTDOWN_BIT : 0;
    switch (event.kind) {
        case InputEvent::Kind::KeyDown:
            message.message = event.modifiers.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
            message.wParam = static_cast<WPARAM>(event.virtualKey);
            message.lParam = 1 | alt | (keysDown_.contains(event.virtualKey) ? KF_REPEAT_BIT : 0);
            keysDown_.insert(event.virtualKey);
            break;
        case InputEvent::Kind::KeyUp:
            message.message = event.modifiers.alt ? WM_SYSKEYUP : WM_KEYUP;
            message.wParam = static_cast<WPARAM>(event.virtualKey);
            message.lParam = 1 | alt | KF_REPEAT_BIT | KF_UP_BIT;
            keysDown_.erase(event.virtualKey);
            break;
        default:
            message.message = WM_CHAR;
            message.wParam = event.character;
            break;
    }
    routed_.push_back(message);
}

void InputRouter::RouteWheel(const InputEvent& event) {
    // To the window that takes the keys, as a whole.
    const HWND focus = activation_.Focus() ? activation_.Focus() : activation_.Active();
    const Window* target = windows_.Find(focus);
    if (!target || !target->IsEnabledTree()) {
        return;
    }
    const HWND handle = target->TopLevel().Handle();
    const WPARAM keys = (event.modifiers.control ? MK_CONTROL : 0) |
                        (event.modifiers.shift ? MK_SHIFT : 0) | (penDown_ ? MK_LBUTTON : 0);
    const DWORD time = static_cast<DWORD>(host_.Now().count());
    const LPARAM where = MAKELPARAM(penPosition_.x, penPosition_.y);
    const std::pair<UINT, int> turns[] = {{WM_MOUSEWHEEL, event.notches.y},
                                          {WM_MOUSEHWHEEL, event.notches.x}};
    for (const auto& [message, notches] : turns) {
        if (notches != 0) {
            routed_.push_back({handle, message,
                               MAKEWPARAM(static_cast<int>(keys), notches * WHEEL_DELTA), where,
                               time, penPosition_});
        }
    }
}

void InputRouter::RouteDrop(const InputEvent& event) {
    // To the window the active one belongs to: a page open over the main window does not take
    // the file, its owner does, even while the page keeps it disabled.
    Window* target = windows_.Find(activation_.Active());
    while (target && target->Owner()) {
        target = windows_.Find(target->Owner());
    }
    if (!target || event.path.empty()) {
        return;
    }
    const DROPPEDFILE dropped{event.path.data(), event.path.size()};
    windows_.Send(target->TopLevel().Handle(), WM_DROPFILES, 0, PointerParam(&dropped));
}

Window* InputRouter::WindowAt(POINT screen) const {
    Window* found = nullptr;
    for (const HWND handle : tree_.TopLevelWindows()) {
        Window* top = windows_.Find(handle);
        if (top && (top->Style() & WS_VISIBLE) != 0 && rect::Contains(ScreenRect(*top), screen)) {
            found = top;
            break;
        }
    }
    // Down through the children: a hidden or disabled child lets the tap reach its parent.
    for (bool deeper = found != nullptr; deeper;) {
        deeper = false;
        if (!rect::Contains(ClientScreenRect(*found), screen)) {
            break;
        }
        for (Window* child : found->Children()) {
            if ((child->Style() & WS_VISIBLE) != 0 && (child->Style() & WS_DISABLED) == 0 &&
                rect::Contains(ScreenRect(*child), screen)) {
                found = child;
                deeper = true;
                break;
            }
        }
    }
    return found;
}

}  // namespace qv
