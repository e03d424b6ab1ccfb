#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "headless/monkey_events.h"
#include "headless/monkey_log.h"
#include "headless/script.h"
#include "platform/host/headless_host.h"

namespace qv::tools {

// The headless host played by a monkey: whenever the program has nothing left to do, the next
// random event is played, as a script would play its line. After the random events it closes
// what is open with Escape and the navigation bar's "ok", checks that the main window can be
// used, and ends the program with its exit command. A program that does not come back for input
// soon after an event has hung; that, a window left behind by a closed page and a window left
// unusable are reported and end the run.
class MonkeyHost final : public Host {
  public:
    // Host calls (waits and input reads) an event may take before the program counts as hung.
    static constexpr std::uint64_t kMaxHostCallsPerEvent = 100000;

    MonkeyHost(std::uint32_t seed, std::uint64_t events, int scale, MonkeyLog& log);

    // Before each start of the program: input left from the last start is dropped.
    void NewStart();
    // Events played since the last start.
    std::uint64_t EventsThisStart() const { return eventsThisStart_; }
    // Whether the random events are over, so that an end of the program ends the run.
    bool Finishing() const { return phase_ != Phase::Random; }
    // Grows with every host call; the watchdog looks at it from another thread.
    std::uint64_t Progress() const { return progress_.load(std::memory_order_relaxed); }
    std::uint64_t MostHostCallsForOneEvent() const { return mostCalls_; }
    // How many events met each kind of active window ("class: caption"), to show how far the
    // monkey got.
    const std::map<std::string, std::uint64_t>& ActiveWindows() const { return activeWindows_; }
    HostTime Now() const override { return inner_.Now(); }

    int DeviceScale() const override { return inner_.DeviceScale(); }
    void Present(const Bitmap& screen) override { inner_.Present(screen); }
    std::optional<InputEvent> NextInput() override;
    WaitResult Wait(std::optional<HostTime> deadline) override;
    void SetTitle(std::u16string_view title) override { inner_.SetTitle(title); }
    void Raise() override { inner_.Raise(); }
    void SetBusy(bool busy) override { inner_.SetBusy(busy); }

  private:
    enum class Phase { Random, Recovering, Exiting };

    void Count();
    void NoteActiveWindow();
    std::string NextLine();
    std::string RecoveryLine();

    HeadlessHost inner_;
    MonkeyEvents events_;
    MonkeyLog& log_;
    const std::uint64_t total_;
    std::uint64_t played_ = 0;
    std::uint64_t eventsThisStart_ = 0;
    Phase phase_ = Phase::Random;
    std::size_t recoveryStep_ = 0;
    std::vector<ScriptStep> steps_;
    std::size_t next_ = 0;
    std::uint64_t calls_ = 0;
    std::uint64_t mostCalls_ = 0;
    std::atomic<std::uint64_t> progress_{0};
    std::map<std::string, std::uint64_t> activeWindows_;
};

// What a page or box left when it closed, looked at whenever no modal loop runs: the main window
// disabled, or a window other than the main window and the shell's still there; nothing when all
// is well or a modal loop runs.
std::optional<std::string> LeftBehind();

// What keeps the program's windows from being used now, or nothing when the main window is
// shown, enabled and active with its menu bar, no modal loop runs and no window other than the
// shell's is open.
std::optional<std::string> UnusableWindows();

}  // namespace qv::tools
