#include "platform/user/api/message_functions.h"

#include <chrono>
#include <string_view>

#include "platform/user/core/rendezvous_link.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"

namespace qv {

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->Send(window, message, wParam, lParam) : 0;
}

LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT,
                            UINT timeoutMs, LRESULT* result) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return 0;
    }
    std::optional<LRESULT> answer;
    if (system->Find(window)) {
        answer = system->Send(window, message, wParam, lParam);
    } else if (RendezvousLink* rendezvous = system->GetRendezvous();
               rendezvous && rendezvous->IsRemote(window) && message == WM_COPYDATA && lParam) {
        const auto& copied = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copied.lpData || copied.cbData == 0) {
            const std::string_view bytes(static_cast<const char*>(copied.lpData), copied.cbData);
            answer = rendezvous->SendCopyData(window, copied.dwData, bytes,
                                              std::chrono::milliseconds(timeoutMs));
        }
    }
    if (result) {
        *result = answer.value_or(0);
    }
    return answer ? 1 : 0;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || (window && !system->Find(window))) {
        return 0;
    }
    system->Post(window, message, wParam, lParam);
    return 1;
}

void PostQuitMessage(int exitCode) {
    if (WindowSystem* system = WindowSystem::Current()) {
        system->PostQuit(exitCode);
    }
}

BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || !message || (window && !system->Find(window))) {
        return -1;
    }
    system->NextMessage(*message, {window, first, last}, true, true);
    return message->message == WM_QUIT ? 0 : 1;
}

BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || !message) {
        return 0;
    }
    return system->NextMessage(*message, {window, first, last}, (remove & PM_REMOVE) != 0, false)
               ? 1
               : 0;
}

BOOL TranslateMessage(const MSG* message) {
    WindowSystem* system = WindowSystem::Current();
    return system && message && system->Translate(*message) ? 1 : 0;
}

LRESULT DispatchMessageW(const MSG* message) {
    WindowSystem* system = WindowSystem::Current();
    return system && message ? system->Dispatch(*message) : 0;
}

LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    WindowSystem* system = WindowSystem::Current();
    if (!system) {
        return procedure ? procedure(window, message, wParam, lParam) : 0;
    }
    return system->CallProcedure(procedure, window, message, wParam, lParam);
}

}  // namespace qv
