#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

// Where a control keeps its state object: the first value of its class's extra bytes (the
// user-data slot belongs to whoever binds the window).
inline constexpr int kControlStateSlot = 0;
inline constexpr int kControlExtraBytes = sizeof(LONG_PTR);

// One paint of a control, between BeginPaint and EndPaint.
struct PaintEvent {
    HDC dc = nullptr;
    RECT client{};
    RECT area{};  // the part to be painted
};

// Whether the class's brush is laid down before each paint; most controls cover every pixel of
// their client area themselves.
enum class Backdrop { Painted, ClassBrush };

// The state of one control window and its one dispatch. Each message is decoded once into the
// hook that takes it; a hook does nothing unless the control overrides it, and what no hook
// takes goes to DefWindowProcW. A control's own messages (its class's family, or a standard one
// it answers its own way) reach OnMessage before anything is decoded.
//
// The parent may destroy the control while one of its own notifications runs, so the state is
// deleted only when the last of its messages returns.
class ControlState {
  public:
    explicit ControlState(HWND window, Backdrop backdrop = Backdrop::Painted)
        : window_(window), backdrop_(backdrop) {}
    virtual ~ControlState() = default;
    ControlState(const ControlState&) = delete;
    ControlState& operator=(const ControlState&) = delete;

    HWND Window() const { return window_; }
    // True once WM_NCDESTROY has come: handlers stop after a notification that destroyed them.
    bool Gone() const { return gone_; }

    std::optional<LRESULT> Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    // The font given by WM_SETFONT, or the system's.
    HFONT TextFont() const;
    void Redraw() const;

    virtual std::optional<LRESULT> OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }
    // False fails the window's creation.
    virtual bool OnCreate() { return true; }
    virtual void OnPaint(const PaintEvent&) {}
    virtual void OnSize() {}
    virtual void OnPenDown(POINT) {}
    virtual void OnPenMove(POINT, bool /*held*/) {}
    virtual void OnPenUp(POINT) {}
    // The capture went elsewhere, or the window is told to cancel what it does (WM_CANCELMODE).
    virtual void OnCaptureLost() {}
    virtual void OnKeyDown(int) {}
    virtual void OnKeyUp(int) {}
    virtual void OnSystemKeyDown(int) {}
    virtual void OnCharacter(char16_t) {}
    virtual void OnSystemCharacter(char16_t) {}
    virtual void OnFocus() {}
    virtual void OnFocusLost() {}
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnScroll(int /*bar*/, WORD /*code*/) {}
    virtual void OnEnable() {}
    virtual void OnTextChanged() {}
    virtual void OnFontChanged() {}
    // The answer to WM_GETDLGCODE.
    virtual LRESULT DialogCode() const { return 0; }

  private:
    template <typename State>
    friend LRESULT RunControlProcedure(HWND, UINT, WPARAM, LPARAM);

    LRESULT Paint();

    HWND window_;
    Backdrop backdrop_;
    HFONT font_ = nullptr;
    int depth_ = 0;
    bool gone_ = false;
};

// The state of a control of kind `State`, or nothing for another window.
template <typename State>
State* ControlStateOf(HWND window) {
    return dynamic_cast<State*>(
        reinterpret_cast<ControlState*>(GetWindowLongW(window, kControlStateSlot)));
}

// The window procedure of a control class whose state is `State`, made from the window and its
// CREATESTRUCTW at WM_NCCREATE.
template <typename State>
LRESULT RunControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = PointerFromParam<const CREATESTRUCTW>(lParam);
        if (!creation) {
            return 0;
        }
        auto state = std::make_unique<State>(window, *creation);
        SetWindowLongW(window, kControlStateSlot, reinterpret_cast<LONG_PTR>(state.get()));
        // A class without room for the state cannot hold the control.
        if (GetWindowLongW(window, kControlStateSlot) != reinterpret_cast<LONG_PTR>(state.get()) ||
            !DefWindowProcW(window, message, wParam, lParam)) {
            SetWindowLongW(window, kControlStateSlot, 0);
            return 0;
        }
        state.release();
        return 1;
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
    const std::optional<LRESULT> result = state->Dispatch(message, wParam, lParam);
    --state->depth_;
    const bool finished = state->gone_ && state->depth_ == 0;
    if (finished) {
        delete state;
    }
    if (result) {
        return *result;
    }
    return finished ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

// Registers the class of a control whose state is `State` in the current window system, once;
// the class's atom.
template <typename State>
ATOM RegisterControlClass(std::u16string_view name, HBRUSH background = nullptr) {
    WNDCLASSW attributes;
    if (const ATOM existing = GetClassInfoW(nullptr, name, &attributes)) {
        return existing;
    }
    attributes = {};
    attributes.style = CS_GLOBALCLASS;
    attributes.lpfnWndProc = RunControlProcedure<State>;
    attributes.cbWndExtra = kControlExtraBytes;
    attributes.hbrBackground = background;
    attributes.lpszClassName = name.data();
    return RegisterClassW(&attributes);
}

}  // namespace qv
