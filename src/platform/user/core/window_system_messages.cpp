#include <algorithm>

#include "platform/host/virtual_keys.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

// The window system's messages: their retrieval in order, dispatch, translation and the waits
// between them.

namespace qv {

namespace {

// How often a program that others may look for checks for their requests while it waits.
constexpr HostTime kRendezvousPoll{50};

// The character a key makes by itself; letters and digits come from the host as text.
char16_t CharacterOfKey(WPARAM key, bool control) {
    switch (key) {
        case VK_BACK:
            return u'\b';
        case VK_TAB:
            return u'\t';
        case VK_RETURN:
            return u'\r';
        case VK_ESCAPE:
            return 0x1B;
        default:
            break;
    }
    if (control && key >= 'A' && key <= 'Z') {
        return static_cast<char16_t>(key - 'A' + 1);
    }
    return 0;
}

}  // namespace

bool WindowSystem::Accepts(const MessageFilter& filter, const MSG& message) const {
    if (message.message == WM_QUIT) {
        return true;
    }
    if (filter.window && message.hwnd != filter.window &&
        !tree_.InTree(filter.window, message.hwnd)) {
        return false;
    }
    if (filter.first == 0 && filter.last == 0) {
        return true;
    }
    return message.message >= filter.first && message.message <= filter.last;
}

bool WindowSystem::NextMessage(MSG& message, const MessageFilter& filter, bool remove, bool wait) {
    const auto accepts = [&](const MSG& candidate) { return Accepts(filter, candidate); };
    while (true) {
        if (const auto posted = queue_.Take(accepts, remove)) {
            message = *posted;
            return true;
        }
        if (const auto input = input_.Take(accepts, remove)) {
            message = *input;
            return true;
        }
        if (const auto event = host_.NextInput()) {
            Act(input_.Route(*event));
            continue;
        }
        const DWORD time = static_cast<DWORD>(Now().count());
        if (queue_.QuitPending()) {
            message = {nullptr, WM_QUIT, static_cast<WPARAM>(queue_.QuitCode()), 0, time, {}};
            if (remove) {
                queue_.ClearQuit();
            }
            return true;
        }
        const auto paintAccepted = [&](HWND window) {
            return Accepts(filter, {window, WM_PAINT, 0, 0, 0, {}});
        };
        if (const Window* window = painting_.NextToPaint(tree_.Desktop(), paintAccepted)) {
            message = {window->Handle(), WM_PAINT, 0, 0, time, {}};
            return true;
        }
        const auto timer = timers_.FirstDue(Now(), [&](const TimerList::Timer& candidate) {
            return accepts({candidate.window, WM_TIMER, candidate.id, 0, 0, {}});
        });
        if (timer) {
            message = {timer->window, WM_TIMER,
                       timer->id,     reinterpret_cast<LPARAM>(timer->procedure),
                       time,          {}};
            if (remove) {
                timers_.Fired(timer->window, timer->id, Now());
            }
            return true;
        }
        if (!wait) {
            return false;
        }
        if (WaitForWork() == WaitOutcome::Idle) {
            // Nothing will ever come: the program is asked to end.
            ranOutOfInput_ = true;
            queue_.PostQuit(0);
        }
    }
}

LRESULT WindowSystem::Dispatch(const MSG& message) {
    if (message.message == WM_TIMER && message.lParam != 0) {
        // Only a running timer's own procedure is called: a posted WM_TIMER with some other
        // value is an ordinary message.
        const auto procedure = reinterpret_cast<TIMERPROC>(message.lParam);
        if (timers_.HasProcedure(message.hwnd, message.wParam, procedure)) {
            procedure(message.hwnd, WM_TIMER, message.wParam, message.time);
            return 0;
        }
    }
    Window* window = Find(message.hwnd);
    if (!window) {
        return 0;
    }
    if (message.message != WM_PAINT) {
        return Send(message.hwnd, message.message, message.wParam, message.lParam);
    }
    const int paintsBefore = window->PaintsBegun();
    const LRESULT result = Send(message.hwnd, WM_PAINT, message.wParam, message.lParam);
    // A window that never begins painting is not asked again and again.
    if (Window* still = Find(message.hwnd); still && still->PaintsBegun() == paintsBefore) {
        Validate(*still, nullptr);
    }
    return result;
}

bool WindowSystem::Translate(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP &&
        message.message != WM_SYSKEYDOWN && message.message != WM_SYSKEYUP) {
        return false;
    }
    if (message.message == WM_KEYDOWN) {
        const bool control = (input_.KeyState(VK_CONTROL) & 0x8000) != 0;
        if (const char16_t character = CharacterOfKey(message.wParam, control)) {
            queue_.PostNext(
                {message.hwnd, WM_CHAR, character, message.lParam, message.time, message.pt});
        }
    }
    return true;
}

void WindowSystem::Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    queue_.Post(
        {handle, message, wParam, lParam, static_cast<DWORD>(Now().count()), input_.PenPosition()});
}

UINT_PTR WindowSystem::SetTimer(HWND handle, UINT_PTR id, UINT periodMs, TIMERPROC procedure) {
    return timers_.Set(handle, id, periodMs, procedure, Now());
}

WindowSystem::PumpResult WindowSystem::Pump() {
    MSG message;
    while (true) {
        while (NextMessage(message, {}, true, false)) {
            if (message.message == WM_QUIT) {
                return PumpResult::Quit;
            }
            Translate(message);
            Dispatch(message);
        }
        if (WaitForWork() == WaitOutcome::Idle) {
            return PumpResult::Idle;
        }
    }
}

WindowSystem::WaitOutcome WindowSystem::WaitForWork() {
    PresentIfChanged();
    if (rendezvous_) {
        const bool served = rendezvous_->Serve(
            [this](std::u16string_view className, std::optional<std::u16string_view> title) {
                return FindTopLevel(className, title);
            },
            [this](HWND window) { return BringToForeground(window); },
            [this](HWND window, std::uint64_t tag, std::string_view data) {
                return HandOver(window, tag, data);
            });
        if (served) {
            return WaitOutcome::Work;
        }
    }
    std::optional<HostTime> deadline = timers_.NextDue();
    if (rendezvous_) {
        const HostTime poll = Now() + kRendezvousPoll;
        if (!deadline || poll < *deadline) {
            deadline = poll;
        }
    }
    return host_.Wait(deadline) == Host::WaitResult::Idle ? WaitOutcome::Idle : WaitOutcome::Work;
}

std::optional<LRESULT> WindowSystem::HandOver(HWND window, std::uint64_t tag,
                                              std::string_view data) {
    const std::vector<HWND> topLevel = TopLevelWindows();
    // Another program may name any window, but only the top-level ones are offered.
    if (std::find(topLevel.begin(), topLevel.end(), window) == topLevel.end()) {
        return std::nullopt;
    }
    const COPYDATASTRUCT copied{static_cast<UINT_PTR>(tag), static_cast<DWORD>(data.size()),
                                data.data()};
    return Send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copied));
}

void WindowSystem::Act(InputRouter::Request request) {
    switch (request) {
        case InputRouter::Request::Rescale:
            Rescale();
            break;
        case InputRouter::Request::Close:
            RequestClose();
            break;
        case InputRouter::Request::None:
            break;
    }
}

}  // namespace qv
