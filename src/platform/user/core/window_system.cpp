#include "platform/user/core/window_system.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/rectangle_math.h"
#include "platform/user/records/cursor_shape.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

WindowSystem* g_current = nullptr;

// The desktop is no program's window: nothing it is sent has an effect.
LRESULT DesktopProcedure(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

}  // namespace

WindowSystem::WindowSystem(Host& host, Options options)
    : host_(host),
      screen_(host.DeviceScale()),
      tree_(DesktopProcedure),
      activation_(*this, tree_, host),
      input_(*this, tree_, activation_, scrollBars_, host),
      rendezvous_(std::move(options.rendezvous)) {
    cursor_ = LoadCursorW(nullptr, IDC_ARROW);
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
        RecalculateClientArea(handle);
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
        RecalculateClientArea(handle);
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

bool WindowSystem::RecalculateClientArea(HWND handle) {
    Window* window = Find(handle);
    if (!window) {
        return false;
    }
    const RECT before = window->ClientRect();
    const RECT bounds = window->Rect();
    RECT client = bounds;
    Send(handle, WM_NCCALCSIZE, 0, PointerParam(&client));
    window = Find(handle);
    if (!window) {
        return false;
    }
    // A client area outside the window is taken as none at its corner.
    client.left = std::clamp(client.left, bounds.left, bounds.right);
    client.top = std::clamp(client.top, bounds.top, bounds.bottom);
    client.right = std::clamp(client.right, client.left, bounds.right);
    client.bottom = std::clamp(client.bottom, client.top, bounds.bottom);
    window->SetFrameInsets({client.left - bounds.left, client.top - bounds.top,
                            bounds.right - client.right, bounds.bottom - client.bottom});
    frames_.MarkStale(handle);
    MarkScreenDirty();
    const RECT after = window->ClientRect();
    return after.right != before.right || after.bottom != before.bottom;
}

void WindowSystem::ApplyFrameChange(HWND handle) {
    const bool resized = RecalculateClientArea(handle);
    Window* window = Find(handle);
    if (!window) {
        return;
    }
    Invalidate(*window, nullptr, true);
    if (resized) {
        const RECT client = window->ClientRect();
        Send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
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
    // Classes and subclassing refuse a window without a procedure.
    const WNDPROC procedure = window->Procedure();
    return procedure ? procedure(handle, message, wParam, lParam) : 0;
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
    if (shell_) {
        shell_->WindowChanged(handle, ShellChange::Text);
    }
}

void WindowSystem::PresentIfChanged() {
    frames_.PaintStale(*this, tree_.Desktop(), activation_);
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
    std::erase_if(modalLoops_, [&](const ModalLevel& level) { return level.loop == &loop; });
}

ModalLoop* WindowSystem::FindModal(HWND handle) const {
    for (auto it = modalLoops_.rbegin(); it != modalLoops_.rend(); ++it) {
        if (it->window == handle) {
            return it->loop;
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
