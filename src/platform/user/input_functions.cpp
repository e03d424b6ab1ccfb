#include "platform/user/input_functions.h"

#include "platform/user/window_system.h"

namespace qv {

HWND SetFocus(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->SetFocus(window) : nullptr;
}

HWND GetFocus() {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->Focus() : nullptr;
}

HWND SetCapture(HWND window) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || !system->Find(window)) {
        return nullptr;
    }
    return system->SetCapture(window);
}

BOOL ReleaseCapture() {
    WindowSystem* system = WindowSystem::Current();
    return system && system->ReleaseCapture() ? 1 : 0;
}

HWND GetCapture() {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Capture() : nullptr;
}

SHORT GetKeyState(int virtualKey) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->KeyState(virtualKey) : SHORT{0};
}

}  // namespace qv
