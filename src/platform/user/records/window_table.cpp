#include "platform/user/records/window_table.h"

#include <algorithm>

namespace qv {

HWND WindowTable::NewHandle() {
    static std::uintptr_t next = 0x10000;
    next += 4;
    return reinterpret_cast<HWND>(next);
}

Window& WindowTable::Add(std::unique_ptr<Window> window) {
    Window& added = *window;
    live_[added.Handle()] = std::move(window);
    return added;
}

Window* WindowTable::Find(HWND handle) const {
    if (!handle) {
        return nullptr;
    }
    const auto found = live_.find(handle);
    return found == live_.end() ? nullptr : found->second.get();
}

void WindowTable::Retire(HWND handle) {
    const auto found = live_.find(handle);
    if (found == live_.end()) {
        return;
    }
    std::unique_ptr<Window> window = std::move(found->second);
    live_.erase(found);
    window->life = Window::Life::Gone;
    if (window->activeCalls > 0) {
        retired_.push_back(std::move(window));
    }
}

std::vector<Window*> WindowTable::All() const {
    std::vector<Window*> all;
    all.reserve(live_.size());
    for (const auto& [handle, window] : live_) {
        all.push_back(window.get());
    }
    return all;
}

void WindowTable::Unpin(Window& window) {
    if (--window.activeCalls > 0 || window.life != Window::Life::Gone) {
        return;
    }
    const auto found = std::find_if(retired_.begin(), retired_.end(),
                                    [&](const auto& retired) { return retired.get() == &window; });
    if (found != retired_.end()) {
        retired_.erase(found);
    }
}

}  // namespace qv
