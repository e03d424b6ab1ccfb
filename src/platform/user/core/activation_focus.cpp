#include "platform/user/core/activation_focus.h"

#include <utility>

#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "platform/user/records/window_tree.h"

namespace qv {

namespace {

bool TakesActivation(const Window& window) {
    return (window.TopLevel().ExStyle() & WS_EX_NOACTIVATE) == 0;
}

}  // namespace

void ActivationFocus::Activate(HWND handle, WORD how) {
    Window* target = windows_.Find(handle);
    if (target && target->IsDesktop()) {
        target = nullptr;
    }
    if (target && !TakesActivation(*target)) {
        return;
    }
    const HWND next = target ? target->TopLevel().Handle() : nullptr;
    if (next == active_) {
        return;
    }
    const HWND previous = std::exchange(active_, next);
    if (target) {
        tree_.Restack(target->TopLevel());
    }
    if (windows_.Find(previous)) {
        windows_.Send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), PointerParam(next));
    }
    if (focus_ && previous && tree_.InTree(previous, focus_)) {
        const HWND lost = std::exchange(focus_, nullptr);
        windows_.Send(lost, WM_KILLFOCUS, HandleParam(next), 0);
    }
    if (next && active_ == next && windows_.Find(next)) {
        windows_.Send(next, WM_ACTIVATE, MAKEWPARAM(how, 0), PointerParam(previous));
    }
    UpdateHostTitle();
    windows_.MarkScreenDirty();
    if (shell_) {
        shell_->ActiveChanged(active_);
    }
}

void ActivationFocus::ActivateNext(HWND leaving) {
    const Window* window = windows_.Find(leaving);
    const auto usable = [&](const Window* candidate) {
        return candidate && candidate->Handle() != leaving && TakesActivation(*candidate) &&
               candidate->Stage() != Window::Life::Destroying &&
               (candidate->Style() & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
    };
    HWND next = nullptr;
    if (window && usable(windows_.Find(window->Owner()))) {
        next = window->Owner();
    } else {
        for (const Window* candidate : tree_.Desktop().Children()) {
            if (usable(candidate)) {
                next = candidate->Handle();
                break;
            }
        }
    }
    Activate(next, WA_ACTIVE);
}

HWND ActivationFocus::SetFocus(HWND handle) {
    if (handle) {
        Window* window = windows_.Find(handle);
        if (!window || window->IsDesktop() || !TakesActivation(*window)) {
            return nullptr;
        }
        const HWND top = window->TopLevel().Handle();
        if (top != active_) {
            Activate(top, WA_ACTIVE);
            if (!windows_.Find(handle)) {
                return nullptr;
            }
        }
    }
    const HWND previous = focus_;
    if (previous == handle) {
        return previous;
    }
    focus_ = handle;
    if (windows_.Find(previous)) {
        windows_.Send(previous, WM_KILLFOCUS, HandleParam(handle), 0);
    }
    if (handle && focus_ == handle) {
        windows_.Send(handle, WM_SETFOCUS, HandleParam(previous), 0);
    }
    return previous;
}

void ActivationFocus::LeaveScreen(HWND handle) {
    if (focus_ && tree_.InTree(handle, focus_)) {
        const HWND lost = std::exchange(focus_, nullptr);
        windows_.Send(lost, WM_KILLFOCUS, 0, 0);
    }
    if (active_ == handle) {
        ActivateNext(handle);
    }
}

void ActivationFocus::Forget(HWND handle) {
    if (focus_ == handle) {
        focus_ = nullptr;
    }
    if (active_ == handle) {
        active_ = nullptr;
    }
}

bool ActivationFocus::BringToForeground(HWND handle) {
    Window* window = windows_.Find(handle);
    if (!window || window->IsDesktop()) {
        return false;
    }
    HWND target = window->TopLevel().Handle();
    if ((window->TopLevel().Style() & WS_DISABLED) != 0) {
        // A modal window in front of it takes the activation instead.
        for (const Window* candidate : tree_.Desktop().Children()) {
            if ((candidate->Style() & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE &&
                TakesActivation(*candidate)) {
                target = candidate->Handle();
                break;
            }
        }
    }
    Activate(target, WA_ACTIVE);
    host_.Raise();
    return true;
}

void ActivationFocus::UpdateHostTitle() {
    // The program's own windows name it; its boxes and dialogs do not.
    if (const Window* window = windows_.Find(active_);
        window && (window->Style() & WS_POPUP) == 0) {
        host_.SetTitle(window->Text());
    }
}

}  // namespace qv
