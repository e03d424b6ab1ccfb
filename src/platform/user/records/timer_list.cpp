#include "platform/user/records/timer_list.h"

#include <algorithm>
#include <iterator>

namespace qv {

UINT_PTR TimerList::Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure,
                        HostTime now) {
    const HostTime period = std::max(HostTime(periodMs), kMinimumPeriod);
    if (!window && !Find(nullptr, id)) {
        id = ++nextThreadTimer_;
    }
    if (Timer* existing = Find(window, id)) {
        existing->period = period;
        existing->due = now + period;
        existing->procedure = procedure;
        existing->order = nextOrder_++;
        return id;
    }
    timers_.push_back({window, id, period, now + period, procedure, nextOrder_++});
    return id;
}

bool TimerList::Kill(HWND window, UINT_PTR id) {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    if (found == timers_.end()) {
        return false;
    }
    timers_.erase(found);
    return true;
}

void TimerList::KillAll(HWND window) {
    std::erase_if(timers_, [&](const Timer& timer) { return timer.window == window; });
}

std::optional<HostTime> TimerList::NextDue() const {
    std::optional<HostTime> next;
    for (const Timer& timer : timers_) {
        if (!next || timer.due < *next) {
            next = timer.due;
        }
    }
    return next;
}

std::optional<TimerList::Timer> TimerList::FirstDue(
    HostTime now, const std::function<bool(const Timer&)>& wanted) const {
    const Timer* first = nullptr;
    for (const Timer& timer : timers_) {
        if (timer.due > now || !wanted(timer)) {
            continue;
        }
        if (!first || timer.due < first->due ||
            (timer.due == first->due && timer.order < first->order)) {
            first = &timer;
        }
    }
    return first ? std::optional<Timer>(*first) : std::nullopt;
}

void TimerList::Fired(HWND window, UINT_PTR id, HostTime now) {
    Timer* timer = Find(window, id);
    if (!timer) {
        return;
    }
    timer->due += timer->period;
    if (timer->due <= now) {
        timer->due = now + timer->period;
    }
}

bool TimerList::HasProcedure(HWND window, UINT_PTR id, TIMERPROC procedure) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id && timer.procedure == procedure;
    });
}

std::vector<TimerList::Timer> TimerList::Of(HWND window) const {
    std::vector<Timer> running;
    std::copy_if(timers_.begin(), timers_.end(), std::back_inserter(running),
                 [&](const Timer& timer) { return timer.window == window; });
    return running;
}

TimerList::Timer* TimerList::Find(HWND window, UINT_PTR id) {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return found == timers_.end() ? nullptr : &*found;
}

}  // namespace qv
