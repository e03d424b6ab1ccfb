#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/host/host.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The running timers, on the host's clock. A timer that comes due is one WM_TIMER however long
// it waited; it then keeps its phase, or starts a fresh period when it missed whole periods.
class TimerList {
  public:
    struct Timer {
        HWND window = nullptr;
        UINT_PTR id = 0;
        HostTime period{0};
        HostTime due{0};
        TIMERPROC procedure = nullptr;
        std::uint64_t order = 0;  // which of two timers due at once fires first
    };

    // Periods shorter than this are made this long, so that no timer keeps the loop from
    // waiting.
    static constexpr HostTime kMinimumPeriod{10};

    // Starts the timer, or restarts it with the new period when the window has one of that id.
    // Without a window the id is made here. Returns the id.
    UINT_PTR Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure, HostTime now);
    bool Kill(HWND window, UINT_PTR id);
    void KillAll(HWND window);

    std::optional<HostTime> NextDue() const;
    // The timer due first at `now` that `wanted` accepts.
    std::optional<Timer> FirstDue(HostTime now,
                                  const std::function<bool(const Timer&)>& wanted) const;
    // Moves a timer that has fired on to its next period.
    void Fired(HWND window, UINT_PTR id, HostTime now);
    bool HasProcedure(HWND window, UINT_PTR id, TIMERPROC procedure) const;
    // The window's running timers, in the order they were started.
    std::vector<Timer> Of(HWND window) const;

  private:
    Timer* Find(HWND window, UINT_PTR id);

    std::vector<Timer> timers_;
    std::uint64_t nextOrder_ = 0;
    UINT_PTR nextThreadTimer_ = 0x7000;
};

}  // namespace qv
