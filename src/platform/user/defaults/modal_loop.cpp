#include "platform/user/defaults/modal_loop.h"

#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

ModalLoop::ModalLoop(WindowSystem& system, HWND window, INT_PTR resultIfGone)
    : system_(system), window_(window), result_(resultIfGone) {
    system_.EnterModal(window_, *this);
}

ModalLoop::~ModalLoop() {
    EnableOthers();
    system_.LeaveModal(*this);
}

INT_PTR ModalLoop::Run(const PreTranslate& preTranslate) {
    DisableOthers();
    system_.Show(window_, SW_SHOW);
    MSG message;
    while (!ended_ && system_.Find(window_)) {
        system_.NextMessage(message, {}, true, true);
        if (message.message == WM_QUIT) {
            // The loop below ends too.
            system_.PostQuit(static_cast<int>(message.wParam));
            break;
        }
        if (preTranslate && preTranslate(message)) {
            continue;
        }
        system_.Translate(message);
        system_.Dispatch(message);
    }
    EnableOthers();
    return result_;
}

void ModalLoop::End(INT_PTR result) {
    ended_ = true;
    result_ = result;
}

void ModalLoop::DisableOthers() {
    const Window* window = system_.Find(window_);
    if (!window) {
        return;
    }
    for (const HWND other : system_.TopLevelWindows()) {
        const Window* candidate = system_.Find(other);
        if (other == window_ || !candidate || (candidate->Style() & WS_DISABLED) != 0 ||
            (candidate->ExStyle() & WS_EX_SHELLWINDOW) != 0) {
            continue;
        }
        // Windows that belong to the modal window stay usable.
        bool owned = false;
        for (HWND owner = candidate->Owner(); owner && !owned;) {
            owned = owner == window_;
            const Window* next = system_.Find(owner);
            owner = next ? next->Owner() : nullptr;
        }
        if (!owned) {
            system_.Enable(other, false);
            disabled_.push_back(other);
        }
    }
}

void ModalLoop::EnableOthers() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        system_.Enable(*it, true);
    }
    disabled_.clear();
}

}  // namespace qv
