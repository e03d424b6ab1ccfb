#include "platform/user/core/window_system.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/rectangle_math.h"
#include "platform/host/virtual_keys.h"
#include "platform/rendezvous/rendezvous.h"
#include "platform/user/api/cursor.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/modal_loop.h"
#include "platform/user/defaults/non_client.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

WindowSystem* g_current = nullptr;

// How often a program that others may look for checks for their requests while it waits.
constexpr HostTime kRendezvousPoll{50};

// The character a key makes by itself; letters and digits come from the host as text.
char16_t CharacterOfKey(WPARAM key, bool control) {
    switch (key) {
        case VK_BACK:
            return u'\b';
        case VK_TAB:
            return u'\t';
        case VK_RETURN:
            return u'\r';
        case VK_ESCAPE:
            return 0x1B;
        default:
            break;
    }
    if (control && key >= 'A' && key <= 'Z') {
        return static_cast<char16_t>(key - 'A' + 1);
    }
    return 0;
}

}  // namespace

WindowSystem::WindowSystem(Host& host, Options options)
    : host_(host), screen_(host.DeviceScale()), input_(*this), activation_(*this, tree_) {
    cursor_ = LoadCursorW(nullptr, IDC_ARROW);
    if (options.rendezvousFolder) {
        rendezvous_ = Rendezvous::Open(*options.rendezvousFolder);
    }
    previousCurrent_ = std::exchange(g_current, this);
}

WindowSystem::~WindowSystem() {
    DestroyRemaining();
    if (g_current == this) {
        g_current = previousCurrent_;
    }
    host_.SetBusy(false);
}

WindowSystem* WindowSystem::Current() {
    return g_current;
}

void WindowSystem::DestroyRemaining() {
    // The windows' procedures act on this system, even when another was made after it.
    WindowSystem* const current = std::exchange(g_current, this);
    endingWindows_ = true;
    // Nothing is activated in turn as the windows go: the active one is told it lost the
    // activation once, as the program ends.
    activation_.Activate(nullptr, WA_INACTIVE);
    while (true) {
        const std::vector<HWND> remaining = tree_.TopLevelWindows();
        const auto next = std::find_if(remaining.begin(), remaining.end(), [&](HWND handle) {
            const Window* window = Find(handle);
            return window && window->Stage() != Window::Life::Destroying;
        });
        if (next == remaining.end()) {
            break;
        }
        Destroy(*next);
    }
    g_current = current;
}

bool WindowSystem::UnregisterClass(ClassAtomOrName className, HINSTANCE module) {
    const WindowClass* windowClass = classes_.Find(className, module);
    if (!windowClass || windowClass->attributes.hInstance != module ||
        tree_.AnyOfClass(*windowClass)) {
        return false;
    }
    return classes_.Unregister(className, module);
}

HWND WindowSystem::Create(const WindowCreation& creation) {
    const WindowClass* windowClass = classes_.Find(creation.className, creation.instance);
    if (!windowClass || endingWindows_) {
        return nullptr;
    }
    Window* parent = &tree_.Desktop();
    HWND owner = nullptr;
    if ((creation.style & WS_CHILD) != 0) {
        parent = Find(creation.parent);
        if (!parent || parent->IsDesktop()) {
            return nullptr;
        }
    } else if (creation.parent) {
        Window* ownerWindow = Find(creation.parent);
        if (!ownerWindow) {
            return nullptr;
        }
        owner = ownerWindow->IsDesktop() ? nullptr : ownerWindow->TopLevel().Handle();
    }
    if (parent->Stage() == Window::Life::Destroying) {
        return nullptr;
    }
    Window& window = tree_.Add(*windowClass, *parent, owner, creation, screen_.Scale());

    const HWND handle = window.Handle();
    const std::u16string title(creation.title);
    CREATESTRUCTW parameters;
    parameters.lpCreateParams = creation.parameter;
    parameters.hInstance = creation.instance;
    parameters.id = creation.id;
    parameters.hwndParent = creation.parent;
    parameters.x = window.Rect().left;
    parameters.y = window.Rect().top;
    parameters.cx = window.Width();
    parameters.cy = window.Height();
    parameters.style = static_cast<LONG>(creation.style);
    parameters.lpszName = title.c_str();
    parameters.lpszClass = windowClass->name.c_str();
    parameters.dwExStyle = creation.exStyle;
    // A window's own state (a control's, say) is made on its first message and may refuse it.
    const LRESULT accepted = Send(handle, WM_NCCREATE, 0, PointerParam(&parameters));
    if (!Find(handle)) {
        return nullptr;
    }
    if (accepted) {
        RecalculateClientArea(*this, handle);
        if (Window* calculated = Find(handle)) {
            Invalidate(*calculated, nullptr, true);
        }
    }
    const LRESULT created = accepted ? Send(handle, WM_CREATE, 0, PointerParam(&parameters)) : -1;
    Window* alive = Find(handle);
    if (!alive) {
        return nullptr;
    }
    if (created == -1) {
        Destroy(handle);
        return nullptr;
    }
    tree_.MarkAlive(*alive);
    const RECT client = alive->ClientRect();
    Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    alive = Find(handle);
    if (alive && (creation.style & WS_VISIBLE) != 0 && (alive->Style() & WS_VISIBLE) == 0) {
        Show(handle, SW_SHOW);
    }
    MarkScreenDirty();
    return Find(handle) ? handle : nullptr;
}

bool WindowSystem::Destroy(HWND handle) {
    Window* window = Find(handle);
    if (!window || !tree_.MarkDestroying(*window)) {
        return false;
    }
    const auto pin = tree_.Pin(*window);
    // The windows it owns go first, whole.
    for (const HWND owned : TopLevelWindows()) {
        const Window* candidate = Find(owned);
        if (candidate && candidate->Owner() == handle) {
            Destroy(owned);
        }
    }
    // Off the screen first, which passes the focus and the activation on.
    Hide(*window);
    SendDestroyDown(handle);
    SendNcDestroyUp(handle);
    if (Window* gone = Find(handle)) {
        Retire(*gone);
    }
    return true;
}

void WindowSystem::SendDestroyDown(HWND handle) {
    Send(handle, WM_DESTROY, 0, 0);
    const Window* window = Find(handle);
    if (!window) {
        return;
    }
    // Handlers may destroy windows, so the children are named before any is sent a message.
    const std::vector<HWND> children = WindowTree::ChildHandles(*window);
    for (const HWND child : children) {
        Window* found = Find(child);
        if (found && tree_.MarkDestroying(*found)) {
            SendDestroyDown(child);
        }
    }
}

void WindowSystem::SendNcDestroyUp(HWND handle) {
    const Window* window = Find(handle);
    if (!window) {
        return;
    }
    // Handlers may destroy windows, so the children are named before any is sent a message.
    const std::vector<HWND> children = WindowTree::ChildHandles(*window);
    for (const HWND child : children) {
        if (Find(child)) {
            SendNcDestroyUp(child);
        }
    }
    Send(handle, WM_NCDESTROY, 0, 0);
}

void WindowSystem::Retire(Window& window) {
    for (const HWND handle : tree_.Remove(window)) {
        timers_.KillAll(handle);
        input_.Forget(handle);
        activation_.Forget(handle);
        scrollBars_.Forget(handle);
        frames_.Forget(handle);
    }
}

bool WindowSystem::Show(HWND handle, int command) {
    Window* window = Find(handle);
    if (!window || window->IsDesktop()) {
        return false;
    }
    const bool wasVisible = (window->Style() & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (!wasVisible) {
            return false;
        }
        Hide(*window);
        return true;
    }
    if (!wasVisible) {
        window->SetStyle(window->Style() | WS_VISIBLE);
        Invalidate(*window, nullptr, true);
        MarkScreenDirty();
    }
    const bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE;
    if (activate && !window->IsChild() && window->IsEnabledTree()) {
        Activate(handle, WA_ACTIVE);
    }
    return wasVisible;
}

void WindowSystem::Hide(Window& window) {
    const bool wasShown = window.IsShown();
    const POINT origin = window.ScreenOrigin();
    const RECT covered = rect::Offset({0, 0, window.Width(), window.Height()}, origin.x, origin.y);
    window.SetStyle(window.Style() & ~WS_VISIBLE);
    MarkScreenDirty();
    activation_.LeaveScreen(window.Handle());
    if (wasShown) {
        InvalidateUncovered(covered);
    }
}

void WindowSystem::InvalidateUncovered(const RECT& covered) {
    for (Window* other : tree_.All()) {
        if (other->IsDesktop() || !other->IsShown()) {
            continue;
        }
        const POINT client = other->ClientScreenOrigin();
        const RECT onScreen = rect::Offset(other->ClientRect(), client.x, client.y);
        const RECT area = rect::Intersection(covered, onScreen);
        if (!rect::IsEmpty(area)) {
            const RECT local = rect::Offset(area, -client.x, -client.y);
            Invalidate(*other, &local, true);
        }
    }
}

bool WindowSystem::Move(HWND handle, const RECT& rect, bool repaint) {
    Window* window = Find(handle);
    if (!window || window->IsDesktop()) {
        return false;
    }
    const WindowTree::Placement placement = tree_.Place(*window, rect, screen_.Scale());
    if (placement.resized) {
        RecalculateClientArea(*this, handle);
        window = Find(handle);
        if (!window) {
            return true;
        }
    }
    if (placement.resized || repaint) {
        Invalidate(*window, nullptr, true);
    }
    MarkScreenDirty();
    const RECT next = window->Rect();
    const RECT client = window->ClientRect();
    if (placement.moved) {
        Send(handle, WM_MOVE, 0, MAKELPARAM(next.left, next.top));
    }
    if (placement.resized) {
        Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    return true;
}

bool WindowSystem::Enable(HWND handle, bool enable) {
    Window* window = Find(handle);
    if (!window || window->IsDesktop()) {
        return false;
    }
    const bool wasDisabled = (window->Style() & WS_DISABLED) != 0;
    if (wasDisabled == !enable) {
        return wasDisabled;
    }
    if (enable) {
        window->SetStyle(window->Style() & ~WS_DISABLED);
    } else {
        window->SetStyle(window->Style() | WS_DISABLED);
        // The default handling of the cancel gives the capture up; a window that handles it
        // itself still loses a capture held inside it, as disabled windows get no input.
        Send(handle, WM_CANCELMODE, 0, 0);
        if (input_.Capture() && tree_.InTree(handle, input_.Capture())) {
            input_.ReleaseCapture();
        }
    }
    if (!Find(handle)) {
        return wasDisabled;
    }
    Send(handle, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

DWORD WindowSystem::SetStyle(Window& window, DWORD style) {
    MarkScreenDirty();
    return window.SetStyle(style);
}

HWND WindowSystem::SetOwner(Window& window, HWND owner) {
    return window.IsChild() ? nullptr : tree_.SetOwner(window, owner);
}

HWND WindowSystem::Relative(HWND handle, UINT relation) const {
    const Window* window = Find(handle);
    return window ? tree_.Relative(*window, relation) : nullptr;
}

LRESULT WindowSystem::Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(handle);
    if (!window) {
        return 0;
    }
    const auto pin = tree_.Pin(*window);
    const WNDPROC procedure = window->Procedure() ? window->Procedure() : DefWindowProcW;
    return procedure(handle, message, wParam, lParam);
}

LRESULT WindowSystem::CallProcedure(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    if (!procedure) {
        return 0;
    }
    Window* window = Find(handle);
    if (!window) {
        return procedure(handle, message, wParam, lParam);
    }
    const auto pin = tree_.Pin(*window);
    return procedure(handle, message, wParam, lParam);
}

bool WindowSystem::Accepts(const MessageFilter& filter, const MSG& message) const {
    if (message.message == WM_QUIT) {
        return true;
    }
    if (filter.window && message.hwnd != filter.window &&
        !tree_.InTree(filter.window, message.hwnd)) {
        return false;
    }
    if (filter.first == 0 && filter.last == 0) {
        return true;
    }
    return message.message >= filter.first && message.message <= filter.last;
}

bool WindowSystem::NextMessage(MSG& message, const MessageFilter& filter, bool remove, bool wait) {
    const auto accepts = [&](const MSG& candidate) { return Accepts(filter, candidate); };
    while (true) {
        if (const auto posted = queue_.Take(accepts, remove)) {
            message = *posted;
            return true;
        }
        if (const auto input = input_.Take(accepts, remove)) {
            message = *input;
            return true;
        }
        if (const auto event = host_.NextInput()) {
            input_.Route(*event);
            continue;
        }
        const DWORD time = static_cast<DWORD>(Now().count());
        if (queue_.QuitPending()) {
            message = {nullptr, WM_QUIT, static_cast<WPARAM>(queue_.QuitCode()), 0, time, {}};
            if (remove) {
                queue_.ClearQuit();
            }
            return true;
        }
        const auto paintAccepted = [&](HWND window) {
            return Accepts(filter, {window, WM_PAINT, 0, 0, 0, {}});
        };
        if (const Window* window = painting_.NextToPaint(tree_.Desktop(), paintAccepted)) {
            message = {window->Handle(), WM_PAINT, 0, 0, time, {}};
            return true;
        }
        const auto timer = timers_.FirstDue(Now(), [&](const TimerList::Timer& candidate) {
            return accepts({candidate.window, WM_TIMER, candidate.id, 0, 0, {}});
        });
        if (timer) {
            message = {timer->window, WM_TIMER,
                       timer->id,     reinterpret_cast<LPARAM>(timer->procedure),
                       time,          {}};
            if (remove) {
                timers_.Fired(timer->window, timer->id, Now());
            }
            return true;
        }
        if (!wait) {
            return false;
        }
        if (WaitForWork() == WaitOutcome::Idle) {
            // Nothing will ever come: the program is asked to end.
            ranOutOfInput_ = true;
            queue_.PostQuit(0);
        }
    }
}

LRESULT WindowSystem::Dispatch(const MSG& message) {
    if (message.message == WM_TIMER && message.lParam != 0) {
        // Only a running timer's own procedure is called: a posted WM_TIMER with some other
        // value is an ordinary message.
        const auto procedure = reinterpret_cast<TIMERPROC>(message.lParam);
        if (timers_.HasProcedure(message.hwnd, message.wParam, procedure)) {
            procedure(message.hwnd, WM_TIMER, message.wParam, message.time);
            return 0;
        }
    }
    Window* window = Find(message.hwnd);
    if (!window) {
        return 0;
    }
    if (message.message != WM_PAINT) {
        return Send(message.hwnd, message.message, message.wParam, message.lParam);
    }
    const int paintsBefore = window->PaintsBegun();
    const LRESULT result = Send(message.hwnd, WM_PAINT, message.wParam, message.lParam);
    // A window that never begins painting is not asked again and again.
    if (Window* still = Find(message.hwnd); still && still->PaintsBegun() == paintsBefore) {
        Validate(*still, nullptr);
    }
    return result;
}

bool WindowSystem::Translate(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP &&
        message.message != WM_SYSKEYDOWN && message.message != WM_SYSKEYUP) {
        return false;
    }
    if (message.message == WM_KEYDOWN) {
        const bool control = (input_.KeyState(VK_CONTROL) & 0x8000) != 0;
        if (const char16_t character = CharacterOfKey(message.wParam, control)) {
            queue_.PostNext(
                {message.hwnd, WM_CHAR, character, message.lParam, message.time, message.pt});
        }
    }
    return true;
}

void WindowSystem::Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    queue_.Post(
        {handle, message, wParam, lParam, static_cast<DWORD>(Now().count()), input_.PenPosition()});
}

UINT_PTR WindowSystem::SetTimer(HWND handle, UINT_PTR id, UINT periodMs, TIMERPROC procedure) {
    return timers_.Set(handle, id, periodMs, procedure, Now());
}

WindowSystem::PumpResult WindowSystem::Pump() {
    MSG message;
    while (true) {
        while (NextMessage(message, {}, true, false)) {
            if (message.message == WM_QUIT) {
                return PumpResult::Quit;
            }
            Translate(message);
            Dispatch(message);
        }
        if (WaitForWork() == WaitOutcome::Idle) {
            return PumpResult::Idle;
        }
    }
}

WindowSystem::WaitOutcome WindowSystem::WaitForWork() {
    PresentIfChanged();
    if (rendezvous_) {
        const bool served = rendezvous_->Serve(
            [this](std::u16string_view className, std::optional<std::u16string_view> title) {
                return FindTopLevel(className, title);
            },
            [this](HWND window) { return BringToForeground(window); },
            [this](HWND window, std::uint64_t tag, std::string_view data) {
                return HandOver(window, tag, data);
            });
        if (served) {
            return WaitOutcome::Work;
        }
    }
    std::optional<HostTime> deadline = timers_.NextDue();
    if (rendezvous_) {
        const HostTime poll = Now() + kRendezvousPoll;
        if (!deadline || poll < *deadline) {
            deadline = poll;
        }
    }
    return host_.Wait(deadline) == Host::WaitResult::Idle ? WaitOutcome::Idle : WaitOutcome::Work;
}

std::optional<LRESULT> WindowSystem::HandOver(HWND window, std::uint64_t tag,
                                              std::string_view data) {
    const std::vector<HWND> topLevel = TopLevelWindows();
    // Another program may name any window, but only the top-level ones are offered.
    if (std::find(topLevel.begin(), topLevel.end(), window) == topLevel.end()) {
        return std::nullopt;
    }
    const COPYDATASTRUCT copied{static_cast<UINT_PTR>(tag), static_cast<DWORD>(data.size()),
                                data.data()};
    return Send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copied));
}

void WindowSystem::RequestClose() {
    HWND target = activation_.Active();
    if (!target) {
        for (const Window* candidate : tree_.Desktop().Children()) {
            if ((candidate->Style() & WS_VISIBLE) != 0) {
                target = candidate->Handle();
                break;
            }
        }
    }
    if (target) {
        queue_.Post({target, WM_CLOSE, 0, 0, static_cast<DWORD>(Now().count()), {}});
    } else {
        queue_.PostQuit(0);
    }
}

void WindowSystem::TitleChanged(HWND handle) {
    if (const Window* window = Find(handle); window && (window->Style() & WS_CAPTION) != 0) {
        MarkScreenDirty();
    }
    if (handle == activation_.Active()) {
        activation_.UpdateHostTitle();
    }
    NotifyShell(handle, ShellChange::Text);
}

void WindowSystem::PresentIfChanged() {
    frames_.PaintStale(*this);
    if (!screenDirty_) {
        return;
    }
    screenDirty_ = false;
    compositor_.Compose(tree_.Desktop(), screen_.Dc());
    host_.Present(screen_.Pixels());
}

void WindowSystem::Rescale() {
    screen_.Rescale(host_.DeviceScale());
    tree_.Rescale(screen_.Scale());
    InvalidateAll(true);
    frames_.MarkAllStale();
    MarkScreenDirty();
}

void WindowSystem::InvalidateAll(bool erase) {
    for (Window* window : tree_.All()) {
        if (!window->IsDesktop()) {
            Invalidate(*window, nullptr, erase);
        }
    }
}

void WindowSystem::LeaveModal(ModalLoop& loop) {
    std::erase(modalLoops_, &loop);
}

ModalLoop* WindowSystem::FindModal(HWND handle) const {
    for (auto it = modalLoops_.rbegin(); it != modalLoops_.rend(); ++it) {
        if ((*it)->Handle() == handle) {
            return *it;
        }
    }
    return nullptr;
}

HCURSOR WindowSystem::SetCursor(HCURSOR cursor) {
    const HCURSOR previous = std::exchange(cursor_, cursor);
    host_.SetBusy(cursor && cursor->IsWait());
    return previous;
}

}  // namespace qv
