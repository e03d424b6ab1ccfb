#include "headless/script_host.h"

#include <thread>
#include <utility>

#include "headless/program_state.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/menu_bar.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/menu.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "shell/program_entry.h"
#include "text/printable.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

constexpr std::chrono::milliseconds kPauseSlice{10};

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// How many times Down reaches the item of the main window's menu with that text, "&" left out,
// from a popup with nothing highlighted; nothing when there is no such item.
std::optional<int> MenuStepsTo(std::u16string_view text) {
    UniqueMenu bar(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    const HMENU popup = GetSubMenu(bar.get(), 0);
    if (!popup) {
        return std::nullopt;
    }
    int steps = 0;
    for (const MenuItem& item : popup->Items()) {
        if (!IsSelectableMenuItem(item)) {
            continue;
        }
        ++steps;
        std::u16string plain;
        for (const char16_t c : item.text) {
            if (c != u'&') {
                plain += c;
            }
        }
        if (plain == text) {
            return steps;
        }
    }
    return std::nullopt;
}

// The centre of the menu bar's first button, on the screen.
std::optional<POINT> MenuButtonCentre() {
    const HWND bar = FindWindowW(kMenuBarClassName.data(), nullptr);
    RECT rect{};
    if (!bar || !IsWindowVisible(bar) ||
        !SendMessageW(bar, TB_GETITEMRECT, 0, PointerParam(&rect))) {
        return std::nullopt;
    }
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(bar, &centre);
    return centre;
}

InputEvent KeyEvent(InputEvent::Kind kind, int key) {
    InputEvent event;
    event.kind = kind;
    event.virtualKey = key;
    return event;
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
                // The popup opens under the pen on the "Cхема" button and is then worked with
                // its keys, as a user would.
                const auto steps = MenuStepsTo(menu.text);
                const auto button = MenuButtonCentre();
                if (!steps || !button) {
                    Fail("menu: no item \"" + Printable(Utf16ToUtf8(menu.text)) + "\"");
                    return Played::Now;
                }
                InputEvent pen;
                pen.position = *button;
                pen.kind = InputEvent::Kind::PenDown;
                inner_.Queue(pen);
                pen.kind = InputEvent::Kind::PenUp;
                inner_.Queue(pen);
                for (int press = 0; press < *steps; ++press) {
                    inner_.Queue(KeyEvent(InputEvent::Kind::KeyDown, VK_DOWN));
                    inner_.Queue(KeyEvent(InputEvent::Kind::KeyUp, VK_DOWN));
                }
                inner_.Queue(KeyEvent(InputEvent::Kind::KeyDown, VK_RETURN));
                inner_.Queue(KeyEvent(InputEvent::Kind::KeyUp, VK_RETURN));
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
