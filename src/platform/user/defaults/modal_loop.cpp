#include "platform/user/defaults/modal_loop.h"

#include "platform/user/api/default_support.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

BOOL CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return 1;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

ModalLoop::ModalLoop(HWND window, INT_PTR resultIfGone) : window_(window), result_(resultIfGone) {
    EnterModalLoop(window_, *this);
}

ModalLoop::~ModalLoop() {
    EnableOthers();
    LeaveModalLoop(*this);
}

INT_PTR ModalLoop::Run(const PreTranslate& preTranslate) {
    DisableOthers();
    ShowWindow(window_, SW_SHOW);
    MSG message;
    while (!ended_ && IsWindow(window_)) {
        GetMessageW(&message, nullptr, 0, 0);
        if (message.message == WM_QUIT) {
            // The loop below ends too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (preTranslate && preTranslate(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EnableOthers();
    return result_;
}

void ModalLoop::End(INT_PTR result) {
    ended_ = true;
    result_ = result;
}

void ModalLoop::DisableOthers() {
    if (!IsWindow(window_)) {
        return;
    }
    for (const HWND other : TopLevelWindows()) {
        const Window* candidate = WindowFromHandle(other);
        if (other == window_ || !candidate || (candidate->Style() & WS_DISABLED) != 0 ||
            (candidate->ExStyle() & WS_EX_SHELLWINDOW) != 0) {
            continue;
        }
        // Windows that belong to the modal window stay usable.
        bool owned = false;
        for (HWND owner = candidate->Owner(); owner && !owned;) {
            owned = owner == window_;
            const Window* next = WindowFromHandle(owner);
            owner = next ? next->Owner() : nullptr;
        }
        if (!owned) {
            EnableWindow(other, 0);
            disabled_.push_back(other);
        }
    }
}

void ModalLoop::EnableOthers() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        EnableWindow(*it, 1);
    }
    disabled_.clear();
}

}  // namespace qv
