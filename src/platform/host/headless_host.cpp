#include "platform/host/headless_host.h"

#include <algorithm>
#include <utility>

#include "platform/host/virtual_keys.h"

namespace qv {

void HeadlessHost::Tap(int x, int y) {
    PenDown(x, y);
    PenUp(x, y);
}

void HeadlessHost::Key(int virtualKey, KeyModifiers modifiers) {
    Queue({InputEvent::Kind::KeyDown, {}, virtualKey, modifiers});
    Queue({InputEvent::Kind::KeyUp, {}, virtualKey, modifiers});
    // Then the modifiers are let go, one by one, so that none stays held for the next input.
    constexpr std::pair<bool KeyModifiers::*, int> kModifierKeys[] = {
        {&KeyModifiers::shift, VK_SHIFT},
        {&KeyModifiers::control, VK_CONTROL},
        {&KeyModifiers::alt, VK_MENU}};
    for (const auto& [held, key] : kModifierKeys) {
        if (modifiers.*held) {
            modifiers.*held = false;
            Queue({InputEvent::Kind::KeyUp, {}, key, modifiers});
        }
    }
}

void HeadlessHost::Type(std::u16string_view text) {
    for (const char16_t c : text) {
        Queue({InputEvent::Kind::Character, {}, 0, {}, c});
    }
}

bool HeadlessHost::WriteScreenshot(const std::string& path) const {
    return frame_ && frame_->WritePng(path.c_str());
}

void HeadlessHost::Present(const Bitmap& screen) {
    if (!frame_ || frame_->Width() != screen.Width() || frame_->Height() != screen.Height() ||
        frame_->Scale() != screen.Scale()) {
        frame_ = std::make_unique<Bitmap>(screen.Width(), screen.Height(), screen.Scale());
    }
    screen.Flush();
    frame_->BeginPixels();
    for (int y = 0; y < screen.DeviceHeight(); ++y) {
        std::copy_n(screen.Row(y), screen.DeviceWidth(), frame_->Row(y));
    }
    frame_->EndPixels();
    ++presentations_;
}

std::optional<InputEvent> HeadlessHost::NextInput() {
    if (input_.empty()) {
        return std::nullopt;
    }
    InputEvent event = std::move(input_.front());
    input_.pop_front();
    return event;
}

Host::WaitResult HeadlessHost::Wait(std::optional<HostTime> deadline) {
    if (!input_.empty()) {
        return WaitResult::Input;
    }
    if (deadline && *deadline <= horizon_) {
        now_ = std::max(now_, *deadline);
        return WaitResult::Deadline;
    }
    // Nothing will happen within the time allowed: the clock runs to its end.
    now_ = std::max(now_, horizon_);
    return WaitResult::Idle;
}

}  // namespace qv
