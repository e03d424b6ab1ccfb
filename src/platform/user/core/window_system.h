#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gdi/system_metrics.h"
#include "platform/host/device_screen.h"
#include "platform/host/host.h"
#include "platform/user/core/activation_focus.h"
#include "platform/user/core/compositor.h"
#include "platform/user/core/frame_painter.h"
#include "platform/user/core/input_router.h"
#include "platform/user/core/paint_scheduler.h"
#include "platform/user/core/rendezvous_link.h"
#include "platform/user/core/scroll_bars.h"
#include "platform/user/core/shell_events.h"
#include "platform/user/core/window_access.h"
#include "platform/user/records/class_registry.h"
#include "platform/user/records/message_queue.h"
#include "platform/user/records/timer_list.h"
#include "platform/user/records/window_tree.h"

namespace qv {

class ModalLoop;

// Which messages a retrieval accepts: all of them, or those of one window and its children, or
// a range of ids.
struct MessageFilter {
    HWND window = nullptr;
    UINT first = 0;
    UINT last = 0;
};

// The window system of the program's one thread: it owns the windows, their classes, the
// message queue, the timers and the device screen, and runs on the host it is handed. The
// functions with the platform's names act on the current one; there is one per program (a test
// may make one after another). Windows still alive when it ends are destroyed as DestroyWindow
// destroys them, so that their procedures let go of what they hold. Its parts see it as
// WindowAccess.
class WindowSystem final : public WindowAccess {
  public:
    struct Options {
        // How running programs find each other; none without it.
        std::unique_ptr<RendezvousLink> rendezvous;
    };
    enum class PumpResult { Idle, Quit };

    explicit WindowSystem(Host& host, Options options = {});
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // The system the platform functions act on, or null when there is none.
    static WindowSystem* Current();

    Host& GetHost() { return host_; }
    RendezvousLink* GetRendezvous() { return rendezvous_.get(); }

    // Classes.
    ATOM RegisterClass(const WNDCLASSW& attributes) { return classes_.Register(attributes); }
    // Fails while windows of the class exist.
    bool UnregisterClass(ClassAtomOrName className, HINSTANCE module);
    const WindowClass* FindClass(ClassAtomOrName className, HINSTANCE module) const {
        return classes_.Find(className, module);
    }

    // The non-client area: window scroll bars and the frames left to paint.
    ScrollBars& Bars() { return scrollBars_; }
    FramePainter& Frames() { return frames_; }

    // Windows.
    const Window& Desktop() const { return tree_.Desktop(); }
    Window* Find(HWND handle) const override { return tree_.Find(handle); }
    // Keeps the window's record while one of its messages is handled.
    [[nodiscard]] WindowTable::Pin Pin(Window& window) { return tree_.Pin(window); }
    // A handle no window of this process has had, for a window of another program.
    HWND NewHandle() { return tree_.NewHandle(); }
    HWND Create(const WindowCreation& creation);
    bool Destroy(HWND handle);
    bool Show(HWND handle, int command);
    bool Move(HWND handle, const RECT& rect, bool repaint);
    bool Enable(HWND handle, bool enable);
    // Asks the window where its client area lies in its rectangle (WM_NCCALCSIZE) and keeps the
    // answer. True when the client area's size changed.
    bool RecalculateClientArea(HWND handle);
    // After a change of the frame's styles: the client area asked for again, the window redrawn
    // and, when its client area changed size, told so (WM_SIZE).
    void ApplyFrameChange(HWND handle);
    // The previous style; the screen shows the new one.
    DWORD SetStyle(Window& window, DWORD style);
    // A top-level window's previous owner; a child has none.
    HWND SetOwner(Window& window, HWND owner);
    // GW_CHILD, GW_HWNDNEXT, GW_HWNDPREV or GW_OWNER of the window; null when there is none.
    HWND Relative(HWND handle, UINT relation) const;
    // Top-level windows, the top of the z-order first.
    std::vector<HWND> TopLevelWindows() const { return tree_.TopLevelWindows(); }
    // The top-level window of this program with the class (any when empty) and the title (any
    // when none), the top of the z-order first.
    HWND FindTopLevel(std::u16string_view className,
                      std::optional<std::u16string_view> title) const {
        return tree_.FindTopLevel(className, title);
    }

    // Messages.
    LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT CallProcedure(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam,
                          LPARAM lParam);
    // The next message: posted ones, then input, then the quit request, then paints, then
    // timers. Without `wait` returns false when there is none; with it waits on the host, and
    // when the host will never have more (the headless host's script and time are used up)
    // the quit request is made.
    bool NextMessage(MSG& message, const MessageFilter& filter, bool remove, bool wait);
    LRESULT Dispatch(const MSG& message);
    // Makes the character of a key that makes one; true for key messages.
    bool Translate(const MSG& message);
    // Posts to the window (the thread when null), stamped with the time and the pen's position.
    void Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void PostQuit(int exitCode) { queue_.PostQuit(exitCode); }
    // Handles messages until the host has nothing more to give, or until the quit message.
    PumpResult Pump();
    bool RanOutOfInput() const { return ranOutOfInput_; }
    HostTime Now() const { return host_.Now(); }

    // Timers; the id of the timer set, 0 when none was.
    UINT_PTR SetTimer(HWND handle, UINT_PTR id, UINT periodMs, TIMERPROC procedure);
    bool KillTimer(HWND handle, UINT_PTR id) { return timers_.Kill(handle, id); }
    // The window's running timers, in the order they were started.
    std::vector<TimerList::Timer> TimersOf(HWND handle) const { return timers_.Of(handle); }

    // Input.
    HWND Capture() const { return input_.Capture(); }
    HWND SetCapture(HWND handle) { return input_.SetCapture(handle); }
    bool ReleaseCapture() { return input_.ReleaseCapture(); }
    SHORT KeyState(int virtualKey) const { return input_.KeyState(virtualKey); }
    // Routes a key event made by the program as a keyboard's would be.
    void RouteInput(const InputEvent& event) { Act(input_.Route(event)); }

    // Activation and focus.
    HWND Active() const { return activation_.Active(); }
    HWND Focus() const { return activation_.Focus(); }
    void Activate(HWND handle, WORD how) { activation_.Activate(handle, how); }
    HWND SetFocus(HWND handle) { return activation_.SetFocus(handle); }
    // Brings a window forward for another program's request, or for the program itself.
    bool BringToForeground(HWND handle) { return activation_.BringToForeground(handle); }
    // Asks the active window to close, as the host's close button does.
    void RequestClose();
    // A window's text changed: its caption bar and the host's title follow.
    void TitleChanged(HWND handle);

    // Painting.
    void Invalidate(Window& window, const RECT* rect, bool erase) {
        painting_.Invalidate(window, rect, erase);
    }
    void Validate(Window& window, const RECT* rect) { painting_.Validate(window, rect); }
    // Every window.
    void InvalidateAll(bool erase);
    void MarkScreenDirty() override { screenDirty_ = true; }
    // Has stale frames painted (WM_NCPAINT), then composes the screen from the windows and
    // shows it, when something changed.
    void PresentIfChanged();
    void Rescale();

    // Modal loops, innermost last, each running for its window.
    void EnterModal(HWND window, ModalLoop& loop) { modalLoops_.push_back({window, &loop}); }
    void LeaveModal(ModalLoop& loop);
    ModalLoop* FindModal(HWND handle) const;
    std::size_t ModalDepth() const { return modalLoops_.size(); }

    // The cursor shape; the wait cursor shows the host's busy indication.
    HCURSOR SetCursor(HCURSOR cursor);
    HCURSOR CurrentCursor() const { return cursor_; }

    // The device's shell around the program's windows; it goes with the system, without
    // messages, as the windows do.
    void SetShell(std::unique_ptr<ShellObserver> shell) {
        shell_ = std::move(shell);
        activation_.SetShell(shell_.get());
    }
    ShellObserver* Shell() const { return shell_.get(); }
    // The part of the screen the shell leaves to the program's windows; the whole screen until
    // it says otherwise (SystemParametersInfoW).
    const RECT& WorkArea() const { return workArea_; }
    void SetWorkArea(const RECT& area) { workArea_ = area; }

  private:
    enum class WaitOutcome { Work, Idle };
    struct ModalLevel {
        HWND window = nullptr;
        ModalLoop* loop = nullptr;
    };

    // Takes the window off the screen, passing on the focus held inside it and its activation.
    void Hide(Window& window);
    // What a window hidden from the screen covered is painted again by the windows shown there:
    // they are told, as on a screen that keeps no copy of what a window hides.
    void InvalidateUncovered(const RECT& covered);
    void SendDestroyDown(HWND handle);
    void SendNcDestroyUp(HWND handle);
    void Retire(Window& window);
    void DestroyRemaining();
    bool Accepts(const MessageFilter& filter, const MSG& message) const;
    // Does what the input router left to the system.
    void Act(InputRouter::Request request);
    WaitOutcome WaitForWork();
    // Sends another program's bytes to a top-level window as WM_COPYDATA; none when the window
    // is not one.
    std::optional<LRESULT> HandOver(HWND window, std::uint64_t tag, std::string_view data);

    Host& host_;
    DeviceScreen screen_;
    ClassRegistry classes_;
    WindowTree tree_;
    MessageQueue queue_;
    TimerList timers_;
    ActivationFocus activation_;
    ScrollBars scrollBars_;
    InputRouter input_;
    Compositor compositor_;
    PaintScheduler painting_;
    FramePainter frames_;
    std::unique_ptr<RendezvousLink> rendezvous_;
    std::vector<ModalLevel> modalLoops_;
    HCURSOR cursor_ = nullptr;
    bool screenDirty_ = true;
    bool ranOutOfInput_ = false;
    bool endingWindows_ = false;
    WindowSystem* previousCurrent_ = nullptr;
    std::unique_ptr<ShellObserver> shell_;
    RECT workArea_{0, 0, kScreenWidth, kScreenHeight};
};

}  // namespace qv
