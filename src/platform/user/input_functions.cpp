#include "platform/user/input_functions.h"

#include "platform/host/virtual_keys.h"
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
    return system->Input().SetCapture(window);
}

BOOL ReleaseCapture() {
    WindowSystem* system = WindowSystem::Current();
    return system && system->Input().ReleaseCapture() ? 1 : 0;
}

HWND GetCapture() {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Input().Capture() : nullptr;
}

SHORT GetKeyState(int virtualKey) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Input().KeyState(virtualKey) : SHORT{0};
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
    InputRouter& input = system->Input();
    typed.modifiers = {(input.KeyState(VK_CONTROL) & 0x8000) != 0,
                       (input.KeyState(VK_MENU) & 0x8000) != 0,
                       (input.KeyState(VK_SHIFT) & 0x8000) != 0};
    input.Route(typed);
    return 1;
}

}  // namespace qv
