#include "platform/user/api/window_functions.h"

#include <algorithm>

#include "platform/user/api/message_functions.h"
#include "platform/user/api/shell_observer.h"
#include "platform/user/core/rendezvous_link.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

// Positions and sizes are held within this many pixels, so that the origins of windows inside
// windows and the edges of the widest ones add up without overflowing.
constexpr int kCoordinateLimit = 1 << 24;

RECT PlacedRect(int x, int y, int width, int height) {
    const int left = std::clamp(x, -kCoordinateLimit, kCoordinateLimit);
    const int top = std::clamp(y, -kCoordinateLimit, kCoordinateLimit);
    return {left, top, left + std::clamp(width, 0, kCoordinateLimit),
            top + std::clamp(height, 0, kCoordinateLimit)};
}

Window* Find(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Find(window) : nullptr;
}

}  // namespace

ATOM RegisterClassW(const WNDCLASSW* attributes) {
    WindowSystem* system = WindowSystem::Current();
    return system && attributes ? system->RegisterClass(*attributes) : 0;
}

BOOL UnregisterClassW(ClassAtomOrName className, HINSTANCE module) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->UnregisterClass(className, module) ? 1 : 0;
}

ATOM GetClassInfoW(HINSTANCE module, ClassAtomOrName className, WNDCLASSW* attributes) {
    WindowSystem* system = WindowSystem::Current();
    const WindowClass* windowClass = system ? system->FindClass(className, module) : nullptr;
    if (!windowClass) {
        return 0;
    }
    if (attributes) {
        *attributes = windowClass->attributes;
    }
    return windowClass->atom;
}

bool IsWindowOfClass(HWND window, std::u16string_view className) {
    const Window* found = Find(window);
    return found && found->Class()->name == className;
}

int GetClassNameW(HWND window, char16_t* buffer, int size) {
    const Window* found = Find(window);
    if (!found || !buffer || size <= 0) {
        return 0;
    }
    const std::u16string& name = found->Class()->name;
    const int count = std::min(static_cast<int>(name.size()), size - 1);
    std::copy_n(name.begin(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

HWND CreateWindowExW(DWORD exStyle, ClassAtomOrName className, std::u16string_view title,
                     DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                     HINSTANCE module, void* parameter) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return nullptr;
    }
    WindowCreation creation;
    creation.exStyle = exStyle;
    creation.className = className;
    creation.title = title;
    creation.style = style;
    creation.rect = PlacedRect(x, y, width, height);
    creation.parent = parent;
    creation.id = id;
    creation.instance = module;
    creation.parameter = parameter;
    return system->Create(creation);
}

BOOL DestroyWindow(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->Destroy(window) ? 1 : 0;
}

BOOL ShowWindow(HWND window, int command) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->Show(window, command) ? 1 : 0;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->Move(window, PlacedRect(x, y, width, height), repaint != 0) ? 1 : 0;
}

BOOL SetWindowPos(HWND window, HWND /*insertAfter*/, int x, int y, int width, int height,
                  UINT flags) {
    WindowSystem* system = WindowSystem::Current();
    const Window* found = Find(window);
    if (!system || !found || found->IsDesktop() || (flags & SWP_NOZORDER) == 0) {
        return 0;
    }
    const RECT before = found->Rect();
    const POINT origin = (flags & SWP_NOMOVE) != 0 ? POINT{before.left, before.top} : POINT{x, y};
    const SIZE size = (flags & SWP_NOSIZE) != 0
                          ? SIZE{before.right - before.left, before.bottom - before.top}
                          : SIZE{width, height};
    const bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
    const bool clientResized = frameChanged && system->RecalculateClientArea(window);
    const RECT placed = PlacedRect(origin.x, origin.y, size.cx, size.cy);
    if (!system->Move(window, placed, frameChanged)) {
        return 0;
    }
    // A new size has told the window already; a new frame in the same size has not.
    found = Find(window);
    if (found && clientResized && placed.right - placed.left == before.right - before.left &&
        placed.bottom - placed.top == before.bottom - before.top) {
        const RECT client = found->ClientRect();
        SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    return 1;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->Enable(window, enable != 0) ? 1 : 0;
}

BOOL IsWindow(HWND window) {
    return Find(window) ? 1 : 0;
}

BOOL IsWindowVisible(HWND window) {
    const Window* found = Find(window);
    return found && found->IsShown() ? 1 : 0;
}

BOOL IsWindowEnabled(HWND window) {
    const Window* found = Find(window);
    return found && (found->Style() & WS_DISABLED) == 0 ? 1 : 0;
}

BOOL SetWindowTextW(HWND window, std::u16string_view text) {
    if (!Find(window)) {
        return 0;
    }
    const std::u16string terminated(text);
    return SendMessageW(window, WM_SETTEXT, 0, PointerParam(terminated.c_str())) != 0 ? 1 : 0;
}

int GetWindowTextW(HWND window, char16_t* buffer, int size) {
    if (!buffer || size <= 0) {
        return 0;
    }
    buffer[0] = u'\0';
    return static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size), PointerParam(buffer)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

std::u16string GetWindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(std::max(length, 0)) + 1, u'\0');
    const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    const Window* found = Find(window);
    if (!found || !rect) {
        return 0;
    }
    *rect = found->ClientRect();
    return 1;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    const Window* found = Find(window);
    if (!found || !rect) {
        return 0;
    }
    const POINT origin = found->ScreenOrigin();
    *rect = {origin.x, origin.y, origin.x + found->Width(), origin.y + found->Height()};
    return 1;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    const Window* found = Find(window);
    if (!found || !point) {
        return 0;
    }
    const POINT origin = found->ClientScreenOrigin();
    point->x += origin.x;
    point->y += origin.y;
    return 1;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    const Window* found = Find(window);
    if (!found || !point) {
        return 0;
    }
    const POINT origin = found->ClientScreenOrigin();
    point->x -= origin.x;
    point->y -= origin.y;
    return 1;
}

HWND GetDesktopWindow() {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Desktop().Handle() : nullptr;
}

HWND GetParent(HWND window) {
    const Window* found = Find(window);
    if (!found || found->IsDesktop()) {
        return nullptr;
    }
    return found->IsChild() ? found->Parent()->Handle() : found->Owner();
}

BOOL IsChild(HWND parent, HWND window) {
    const Window* found = Find(window);
    if (!found || !parent || window == parent) {
        return 0;
    }
    for (const Window* w = found; w && w->IsChild(); w = w->Parent()) {
        if (w->Parent() && w->Parent()->Handle() == parent) {
            return 1;
        }
    }
    return 0;
}

BOOL EnumWindows(WNDENUMPROC procedure, LPARAM parameter) {
    const WindowSystem* system = WindowSystem::Current();
    if (!system || !procedure) {
        return 0;
    }
    for (const HWND window : system->TopLevelWindows()) {
        if (!procedure(window, parameter)) {
            break;
        }
    }
    return 1;
}

HWND GetWindow(HWND window, UINT relation) {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->Relative(window, relation) : nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
    const Window* found = Find(dialog);
    if (!found) {
        return nullptr;
    }
    for (const Window* child : found->Children()) {
        if (child->Id() == static_cast<UINT_PTR>(id)) {
            return child->Handle();
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    const Window* found = Find(window);
    return found && found->IsChild() ? static_cast<int>(found->Id()) : 0;
}

LONG_PTR SetWindowLongW(HWND window, int index, LONG_PTR value) {
    WindowSystem* system = WindowSystem::Current();
    Window* found = Find(window);
    if (!found || found->IsDesktop()) {
        return 0;
    }
    switch (index) {
        case GWL_WNDPROC: {
            const auto procedure = LongToProcedure<WNDPROC>(value);
            if (!procedure) {
                return 0;
            }
            return ProcedureToLong(found->SetProcedure(procedure));
        }
        case GWL_USERDATA:
            return found->SetUserData(value);
        case GWL_STYLE: {
            const DWORD previous = system->SetStyle(*found, static_cast<DWORD>(value));
            NotifyShell(window, ShellChange::Style);
            return static_cast<LONG_PTR>(previous);
        }
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(found->SetExStyle(static_cast<DWORD>(value)));
        case GWL_ID:
            return static_cast<LONG_PTR>(found->SetId(static_cast<UINT_PTR>(value)));
        case GWL_HINSTANCE:
            return 0;  // a window stays with the module that made it
        case GWL_HWNDPARENT:
            return PointerParam(
                system->SetOwner(*found, HandleFromParam(static_cast<std::uintptr_t>(value))));
        default:
            return found->SetExtraValue(index, value).value_or(0);
    }
}

LONG_PTR GetWindowLongW(HWND window, int index) {
    const Window* found = Find(window);
    if (!found) {
        return 0;
    }
    switch (index) {
        case GWL_WNDPROC:
            return ProcedureToLong(found->Procedure());
        case GWL_USERDATA:
            return found->UserData();
        case GWL_STYLE:
            return static_cast<LONG_PTR>(found->Style());
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(found->ExStyle());
        case GWL_ID:
            return static_cast<LONG_PTR>(found->Id());
        case GWL_HINSTANCE:
            return PointerParam(found->Instance());
        case GWL_HWNDPARENT:
            return PointerParam(GetParent(window));
        default:
            return found->ExtraValue(index).value_or(0);
    }
}

BOOL SetPropW(HWND window, std::u16string_view name, LONG_PTR value) {
    Window* found = Find(window);
    if (!found || name.empty()) {
        return 0;
    }
    found->SetProperty(name, value);
    return 1;
}

LONG_PTR GetPropW(HWND window, std::u16string_view name) {
    const Window* found = Find(window);
    return found ? found->Property(name).value_or(0) : 0;
}

LONG_PTR RemovePropW(HWND window, std::u16string_view name) {
    Window* found = Find(window);
    return found ? found->RemoveProperty(name).value_or(0) : 0;
}

HWND FindWindowW(const char16_t* className, const char16_t* title) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return nullptr;
    }
    const std::u16string_view wantedClass = className ? className : u"";
    std::optional<std::u16string_view> wantedTitle;
    if (title) {
        wantedTitle = title;
    }
    if (const HWND local = system->FindTopLevel(wantedClass, wantedTitle)) {
        return local;
    }
    RendezvousLink* rendezvous = system->GetRendezvous();
    if (!rendezvous) {
        return nullptr;
    }
    return rendezvous->Find(wantedClass, wantedTitle, [system] { return system->NewHandle(); });
}

BOOL SetForegroundWindow(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return 0;
    }
    if (RendezvousLink* rendezvous = system->GetRendezvous();
        rendezvous && rendezvous->IsRemote(window)) {
        return rendezvous->Raise(window) ? 1 : 0;
    }
    return system->BringToForeground(window) ? 1 : 0;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}

HWND SetActiveWindow(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return nullptr;
    }
    const Window* found = system->Find(window);
    if (!found || found->IsChild() || found->IsDesktop()) {
        return nullptr;
    }
    const HWND previous = system->Active();
    system->Activate(window, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->Active() : nullptr;
}

}  // namespace qv
