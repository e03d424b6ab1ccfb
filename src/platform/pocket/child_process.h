#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The program file `name` stands for: `name` itself when it holds a '/', else the first
// executable regular file of that name in the folders of PATH. Nothing when there is none.
std::optional<std::filesystem::path> FindProgram(std::string_view name);

// Starts `program` with `arguments` (given to it as they are, no shell in between) in a session of
// its own, its input from /dev/null, in `folder` when one is given. The child is detached: it is
// the grandchild of this process, whose own child ends at once and is waited for, so nothing is
// left for this process to reap. Returns 0 when the program is running, else the errno of what
// failed (the exec's own when the program could not be started).
int StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path* folder = nullptr);

// Runs `program` with `arguments` and returns what it wrote to its standard output, at most
// `maxBytes`; nothing when it cannot be started, fails, or takes longer than `limit` (it is then
// killed).
std::optional<std::string> RunForOutput(const std::filesystem::path& program,
                                        const std::vector<std::string>& arguments,
                                        std::size_t maxBytes, std::chrono::milliseconds limit);

}  // namespace qv
