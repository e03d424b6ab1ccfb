#include "headless/monkey_host.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <variant>

#include "headless/program_state.h"
#include "platform/controls/popup_menu.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/menu_bar.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"
#include "shell/program_entry.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

// One round of closing what is open: a message box, a menu, a page or the on-screen keyboard's
// edit go with Escape, a page set up with "ok" with its tap.
constexpr std::array<std::string_view, 6> kRecoveryRound{"key escape", "wait 300",   "key escape",
                                                         "wait 300",   "tap 224 13", "wait 300"};
constexpr std::size_t kRecoveryRounds = 4;
constexpr std::string_view kExitLine = "key ctrl+q";
constexpr std::uint64_t kProgressEvery = 10000;

std::string ClassNameOf(HWND window) {
    char16_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Utf16ToUtf8(name);
}

}  // namespace

std::optional<std::string> LeftBehind() {
    WindowSystem* system = WindowSystem::Current();
    const MainWindow* main = CurrentMainWindow();
    if (!system || !main || !main->hwnd || system->ModalDepth() != 0) {
        return std::nullopt;
    }
    if (!IsWindowEnabled(main->hwnd)) {
        return "the main window is disabled with no modal loop running";
    }
    for (const HWND window : system->TopLevelWindows()) {
        // An open menu tracks the pen without a modal loop. A hidden window is a page or box
        // that was never destroyed.
        if (window != main->hwnd && !IsWindowOfClass(window, kPopupMenuClassName) &&
            (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_SHELLWINDOW) == 0) {
            return "a window of class \"" + ClassNameOf(window) + "\" is still " +
                   (IsWindowVisible(window) ? "shown" : "there, hidden") +
                   " with no modal loop running";
        }
    }
    return std::nullopt;
}

std::optional<std::string> UnusableWindows() {
    WindowSystem* system = WindowSystem::Current();
    const MainWindow* main = CurrentMainWindow();
    if (!system || !main || !main->hwnd) {
        return "there is no main window";
    }
    if (!IsWindowVisible(main->hwnd)) {
        return "the main window is hidden";
    }
    if (system->ModalDepth() != 0) {
        return "a modal loop still runs";
    }
    if (auto left = LeftBehind()) {
        return left;
    }
    if (const HWND menu = FindWindowW(kPopupMenuClassName.data(), nullptr);
        menu && IsWindowVisible(menu)) {
        return "a menu is still open";
    }
    if (system->Active() != main->hwnd) {
        return "the main window is not the active one";
    }
    if (const HWND focus = system->Focus(); focus != main->hwnd && !IsChild(main->hwnd, focus)) {
        return "the keyboard focus is outside the main window";
    }
    if (const HWND captured = system->Capture()) {
        return "the pen is still captured by a window of class \"" + ClassNameOf(captured) + "\"";
    }
    // The main window's commands are on its menu bar, which pages may hide while they are up.
    const HWND menuBar = FindWindowW(kMenuBarClassName.data(), nullptr);
    if (!menuBar || !IsWindowVisible(menuBar)) {
        return "the menu bar is hidden";
    }
    return std::nullopt;
}

MonkeyHost::MonkeyHost(std::uint32_t seed, std::uint64_t events, int scale, MonkeyLog& log)
    : inner_(scale), events_(seed), log_(log), total_(events) {}

void MonkeyHost::NewStart() {
    while (inner_.NextInput()) {
    }
    steps_.clear();
    next_ = 0;
    eventsThisStart_ = 0;
    calls_ = 0;
}

void MonkeyHost::Count() {
    progress_.fetch_add(1, std::memory_order_relaxed);
    if (++calls_ > kMaxHostCallsPerEvent) {
        log_.Fail("hang: the program did not come back for input within " +
                  std::to_string(kMaxHostCallsPerEvent) + " host calls of the last event (at " +
                  std::to_string(inner_.Now().count()) + " ms of virtual time)");
    }
}

std::optional<InputEvent> MonkeyHost::NextInput() {
    Count();
    return inner_.NextInput();
}

Host::WaitResult MonkeyHost::Wait(std::optional<HostTime> deadline) {
    for (;;) {
        Count();
        const WaitResult result = inner_.Wait(deadline);
        if (result != WaitResult::Idle) {
            return result;
        }
        if (next_ == steps_.size()) {
            // The program has done all it would for the last event: the next one comes.
            mostCalls_ = std::max(mostCalls_, calls_);
            calls_ = 0;
            NoteActiveWindow();
            if (const auto left = LeftBehind()) {
                std::fprintf(stderr, "# what the program shows:\n");
                WriteProgramState(stderr);
                log_.Fail("a closed page or box left " + *left);
            }
            const std::string line = NextLine();
            log_.Add(line);
            ++eventsThisStart_;
            auto parsed = ParseScript(line);
            if (const auto* error = std::get_if<ScriptError>(&parsed)) {
                log_.Fail("the monkey made a line the script cannot play: " + error->reason);
            }
            steps_ = std::move(std::get<std::vector<ScriptStep>>(parsed));
            next_ = 0;
        }
        const ScriptStep& step = steps_[next_++];
        if (const auto* input = std::get_if<InputStep>(&step)) {
            inner_.Queue(input->event);
            return WaitResult::Input;
        }
        if (const auto* advance = std::get_if<AdvanceStep>(&step)) {
            inner_.AllowTime(advance->duration);
        }
    }
}

void MonkeyHost::NoteActiveWindow() {
    const WindowSystem* system = WindowSystem::Current();
    const HWND active = system ? system->Active() : nullptr;
    std::string name = "none";
    if (active) {
        name = ClassNameOf(active) + ": " + Utf16ToUtf8(GetWindowText(active));
    }
    SIPINFO panel;
    panel.cbSize = sizeof(SIPINFO);
    if (SipGetInfo(&panel) && (panel.fdwFlags & SIPF_ON) != 0) {
        name += ", input panel up";
    }
    ++activeWindows_[name];
}

std::string MonkeyHost::NextLine() {
    if (phase_ == Phase::Random) {
        if (played_ < total_) {
            if (++played_ % kProgressEvery == 0) {
                std::printf("quorvane-headless: monkey seed %u: %llu events\n", log_.Seed(),
                            static_cast<unsigned long long>(played_));
                std::fflush(stdout);
            }
            return events_.Next();
        }
        phase_ = Phase::Recovering;
    }
    if (phase_ == Phase::Exiting) {
        log_.Fail("the program did not end on its exit command (" + std::string(kExitLine) + ")");
    }
    return RecoveryLine();
}

std::string MonkeyHost::RecoveryLine() {
    const std::size_t round = recoveryStep_ / kRecoveryRound.size();
    const std::size_t step = recoveryStep_ % kRecoveryRound.size();
    if (step == 0) {
        const std::optional<std::string> unusable = UnusableWindows();
        if (!unusable) {
            phase_ = Phase::Exiting;
            return std::string(kExitLine);
        }
        if (round == kRecoveryRounds) {
            std::fprintf(stderr, "# what the program shows:\n");
            WriteProgramState(stderr);
            log_.Fail("the window is left unusable: " + *unusable + " after " +
                      std::to_string(kRecoveryRounds) + " rounds of Escape and \"ok\"");
        }
    }
    ++recoveryStep_;
    return std::string(kRecoveryRound[step]);
}

}  // namespace qv::tools
