#include "platform/user/api/input_functions.h"

#include "platform/host/virtual_keys.h"
#include "platform/user/core/window_system.h"

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

BOOL SendKeyboardInput(const InputEvent& event) {
    WindowSystem* system = WindowSystem::Current();
    const bool key = event.kind == InputEvent::Kind::KeyDown ||
                     event.kind == InputEvent::Kind::KeyUp ||
                     event.kind == InputEvent::Kind::Character;
    if (!system || !key) {
        return 0;
    }
    InputEvent typed = event;
    typed.modifiers = {(system->KeyState(VK_CONTROL) & 0x8000) != 0,
                       (system->KeyState(VK_MENU) & 0x8000) != 0,
                       (system->KeyState(VK_SHIFT) & 0x8000) != 0};
    system->RouteInput(typed);
    return 1;
}

}  // namespace qv
