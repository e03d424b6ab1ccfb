#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace qv::tools {

// The events a monkey run has played, kept for the report of a failure: the last few in memory
// and, when a folder is given, every event of each start of the program in a script file there,
// monkey-SEED.script for the first, monkey-SEED.START.script for a later one.
class MonkeyLog {
  public:
    static constexpr std::size_t kKept = 20;

    MonkeyLog(std::uint32_t seed, std::optional<std::filesystem::path> folder, std::string map);

    // A new start of the program, counted from 1.
    void Started(int start);
    void Add(std::string_view line);
    // Says on standard error what failed, the seed and the last events, as a script.
    void Report(std::string_view reason);
    // Reports and ends the process at once: the program may be in any state.
    [[noreturn]] void Fail(std::string_view reason);

    std::uint64_t Events() const;
    int Start() const;
    std::uint32_t Seed() const { return seed_; }
    std::optional<std::filesystem::path> ScriptFile() const;

  private:
    const std::uint32_t seed_;
    const std::optional<std::filesystem::path> folder_;
    const std::string map_;
    mutable std::mutex mutex_;  // the watchdog reports from its own thread
    std::deque<std::string> last_;
    std::uint64_t events_ = 0;
    int start_ = 0;
    std::FILE* script_ = nullptr;
};

}  // namespace qv::tools
