#pragma once

#include <memory>

#include "platform/user/default_window_procedure.h"
#include "platform/user/user_types.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"

namespace qv {

// Where a control's state object lives: the first slot of its class's extra bytes.
inline constexpr int kControlStateSlot = 0;
inline constexpr int kControlExtraBytes = static_cast<int>(sizeof(LONG_PTR));

// What every control's state shares: its window, and how deep its own messages are nested, so
// that a control destroyed from inside one of its notifications outlives the handler that sent
// it.
class ControlState {
  public:
    explicit ControlState(HWND window) : window_(window) {}
    virtual ~ControlState() = default;
    ControlState(const ControlState&) = delete;
    ControlState& operator=(const ControlState&) = delete;

    HWND Window() const { return window_; }
    // The message for this control; what it leaves goes to the default procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    template <typename State>
    friend LRESULT ControlProcedure(HWND, UINT, WPARAM, LPARAM);

    HWND window_;
    int depth_ = 0;
    bool gone_ = false;
};

template <typename State>
State* ControlStateOf(HWND window) {
    return dynamic_cast<State*>(
        reinterpret_cast<ControlState*>(GetWindowLongW(window, kControlStateSlot)));
}

// The class procedure of a control whose state is a `State`, made from the creation record at
// WM_NCCREATE and deleted at WM_NCDESTROY, or when the last of its messages returns if the window
// went while they ran.
template <typename State>
LRESULT ControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = PointerFromParam<const CREATESTRUCTW>(lParam);
        if (!creation) {
            return 0;
        }
        auto made = std::make_unique<State>(window, *creation);
        SetWindowLongW(window, kControlStateSlot, reinterpret_cast<LONG_PTR>(made.get()));
        if (GetWindowLongW(window, kControlStateSlot) != reinterpret_cast<LONG_PTR>(made.get())) {
            return 0;  // a class without room for the state
        }
        made.release();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* state = reinterpret_cast<ControlState*>(GetWindowLongW(window, kControlStateSlot));
    if (!state) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongW(window, kControlStateSlot, 0);
        state->gone_ = true;
        if (state->depth_ == 0) {
            delete state;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ++state->depth_;
    const LRESULT result = state->HandleMessage(message, wParam, lParam);
    if (--state->depth_ == 0 && state->gone_) {
        delete state;
    }
    return result;
}

}  // namespace qv
