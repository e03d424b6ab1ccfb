#include "headless/script_host.h"

#include <thread>
#include <utility>

#include "headless/program_state.h"
#include "platform/user/menu.h"
#include "platform/user/message_functions.h"
#include "printable.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "shell/program_entry.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

constexpr std::chrono::milliseconds kPauseSlice{10};

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// The command of the item of the main window's menu with that text, "&" left out.
std::optional<UINT> MenuCommandOf(std::u16string_view text) {
    UniqueMenu bar(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    const HMENU popup = GetSubMenu(bar.get(), 0);
    if (!popup) {
        return std::nullopt;
    }
    for (const MenuItem& item : popup->Items()) {
        std::u16string plain;
        for (const char16_t c : item.text) {
            if (c != u'&') {
                plain += c;
            }
        }
        if (plain == text && IsSelectableMenuItem(item)) {
            return item.id;
        }
    }
    return std::nullopt;
}

}  // namespace

ScriptHost::ScriptHost(std::vector<ScriptStep> steps, std::filesystem::path outFolder, int scale,
                       std::FILE* stateOut)
    : inner_(scale),
      steps_(std::move(steps)),
      outFolder_(std::move(outFolder)),
      stateOut_(stateOut) {}

Host::WaitResult ScriptHost::Wait(std::optional<HostTime> deadline) {
    for (;;) {
        const WaitResult result = inner_.Wait(deadline);
        if (result != WaitResult::Idle) {
            return result;
        }
        if (pauseEnd_) {
            if (std::chrono::steady_clock::now() < *pauseEnd_) {
                // Back to the program, which answers the other programs before it waits again.
                std::this_thread::sleep_for(kPauseSlice);
                return WaitResult::Deadline;
            }
            pauseEnd_.reset();
        }
        const auto played = PlayNext();
        if (!played) {
            return WaitResult::Idle;
        }
        if (*played == Played::Input) {
            return WaitResult::Input;
        }
    }
}

std::optional<ScriptHost::Played> ScriptHost::PlayNext() {
    if (next_ >= steps_.size()) {
        return std::nullopt;
    }
    return Play(steps_[next_++]);
}

ScriptHost::Played ScriptHost::Play(const ScriptStep& step) {
    return std::visit(
        Overloaded{
            [&](const InputStep& input) {
                inner_.Queue(input.event);
                return Played::Input;
            },
            [&](const AdvanceStep& advance) {
                inner_.AllowTime(advance.duration);
                return Played::Time;
            },
            [&](const PauseStep& pause) {
                pauseEnd_ = std::chrono::steady_clock::now() + pause.duration;
                return Played::Time;
            },
            [&](const CommandStep& command) {
                const MainWindow* window = CurrentMainWindow();
                if (!window || !PostMessageW(window->hwnd, WM_COMMAND, command.id, 0)) {
                    Fail("command " + std::to_string(command.id) + ": no main window");
                    return Played::Now;
                }
                return Played::Input;
            },
            [&](const MenuStep& menu) {
                const MainWindow* window = CurrentMainWindow();
                const auto id = MenuCommandOf(menu.text);
                if (!window || !id) {
                    Fail("menu: no item \"" + Printable(Utf16ToUtf8(menu.text)) + "\"");
                    return Played::Now;
                }
                PostMessageW(window->hwnd, WM_COMMAND, *id, 0);
                return Played::Input;
            },
            [&](const ShotStep& shot) {
                const std::filesystem::path file = outFolder_ / shot.file;
                if (!inner_.WriteScreenshot(file.string())) {
                    Fail("shot: cannot write " + Printable(file.string()));
                }
                return Played::Now;
            },
            [&](const StateStep&) {
                WriteProgramState(stateOut_);
                return Played::Now;
            },
        },
        step);
}

void ScriptHost::Fail(const std::string& reason) {
    std::fprintf(stderr, "quorvane-headless: %s\n", reason.c_str());
    failed_ = true;
}

}  // namespace qv::tools
