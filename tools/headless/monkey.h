#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qv::tools {

struct MonkeyOptions {
    std::uint64_t events = 0;
    std::uint32_t seed = 0;
    int scale = 1;
    std::optional<std::filesystem::path> out;  // where the script of the run goes
    std::string map;                           // empty for none
};

// Prepares this process for a monkey: $XDG_CONFIG_HOME, where the settings go, must be an
// absolute path. False when it is not, or the sandbox cannot be made.
bool SetUpSandbox();

// Runs the program on the monkey's host until its events are played and it has ended; starts it
// again whenever an exit command ends it before. Returns 0 when nothing failed; a failure (a
// sanitizer's report, a leak, or what the host finds) is reported on standard error with the
// seed and the last events as a script, and ends the process with status 1.
int RunMonkey(const MonkeyOptions& options);

}  // namespace qv::tools
