#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "headless/script.h"
#include "platform/host/headless_host.h"

namespace qv::tools {

// The headless host driven by a script: whenever the program has nothing left to do (no input,
// no timer due before the clock's limit), the next steps of the script are played. Input steps
// queue input, time steps let the virtual clock run on, and the other steps act on the program
// at once, between its messages, so that a message box or a menu waiting for the user is acted
// on like any other window. When the script is over the host has nothing more to give, and the
// program is asked to quit.
class ScriptHost final : public Host {
  public:
    ScriptHost(std::vector<ScriptStep> steps, std::filesystem::path outFolder, int scale,
               std::FILE* stateOut);

    // Whether every step could be played.
    bool Failed() const { return failed_; }

    int DeviceScale() const override { return inner_.DeviceScale(); }
    void Present(const Bitmap& screen) override { inner_.Present(screen); }
    std::optional<InputEvent> NextInput() override { return inner_.NextInput(); }
    HostTime Now() const override { return inner_.Now(); }
    WaitResult Wait(std::optional<HostTime> deadline) override;
    void SetTitle(std::u16string_view title) override { inner_.SetTitle(title); }
    void Raise() override { inner_.Raise(); }
    void SetBusy(bool busy) override { inner_.SetBusy(busy); }

  private:
    enum class Played { Input, Time, Now };
    // Plays the next step; nothing when the script is over.
    std::optional<Played> PlayNext();
    Played Play(const ScriptStep& step);
    void Fail(const std::string& reason);

    HeadlessHost inner_;
    std::vector<ScriptStep> steps_;
    std::size_t next_ = 0;
    std::filesystem::path outFolder_;
    std::FILE* stateOut_;
    std::optional<std::chrono::steady_clock::time_point> pauseEnd_;
    bool failed_ = false;
};

}  // namespace qv::tools
