#include "headless/monkey_log.h"

#include <cstdlib>

#include "text/printable.h"

namespace qv::tools {

MonkeyLog::MonkeyLog(std::uint32_t seed, std::optional<std::filesystem::path> folder,
                     std::string map)
    : seed_(seed), folder_(std::move(folder)), map_(std::move(map)) {}

std::optional<std::filesystem::path> MonkeyLog::ScriptFile() const {
    if (!folder_) {
        return std::nullopt;
    }
    const std::string name = "monkey-" + std::to_string(seed_) +
                             (start_ > 1 ? "." + std::to_string(start_) : std::string()) +
                             ".script";
    return *folder_ / name;
}

void MonkeyLog::Started(int start) {
    const std::lock_guard lock(mutex_);
    start_ = start;
    last_.clear();
    // Each start has a script of its own.
    if (script_) {
        std::fclose(script_);
        script_ = nullptr;
    }
    if (const auto file = ScriptFile()) {
        script_ = std::fopen(file->c_str(), "w");
        if (script_) {
            std::fprintf(script_, "# quorvane-headless --monkey, seed %u, start %d\n", seed_,
                         start);
        }
    }
}

void MonkeyLog::Add(std::string_view line) {
    const std::lock_guard lock(mutex_);
    ++events_;
    last_.emplace_back(line);
    if (last_.size() > kKept) {
        last_.pop_front();
    }
    if (script_) {
        // Written as it goes, so that the file is whole whatever ends the process.
        std::fprintf(script_, "%.*s\n", static_cast<int>(line.size()), line.data());
        std::fflush(script_);
    }
}

void MonkeyLog::Report(std::string_view reason) {
    // A crash may come while the log is being written to; the report is then made all the same.
    const std::unique_lock lock(mutex_, std::try_to_lock);
    std::fprintf(stderr, "quorvane-headless: monkey failed: %.*s\n",
                 static_cast<int>(reason.size()), reason.data());
    std::fprintf(stderr,
                 "quorvane-headless: seed %u, after %llu events, in start %d of the program\n",
                 seed_, static_cast<unsigned long long>(events_), start_);
    std::fprintf(stderr, "# the last %zu events, as a script:\n", last_.size());
    for (const std::string& line : last_) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    if (const auto file = ScriptFile(); file && script_) {
        std::fprintf(stderr,
                     "# every event since the start: %s\n# replay with a fresh $XDG_CONFIG_HOME "
                     "and a private $XDG_RUNTIME_DIR: env PATH= quorvane-headless --script "
                     "%s%s%s\n",
                     Printable(file->string()).c_str(), Printable(file->string()).c_str(),
                     start_ == 1 && !map_.empty() ? " " : "",
                     start_ == 1 ? Printable(map_).c_str() : "");
        if (start_ > 1) {
            std::fprintf(stderr,
                         "# (an earlier start ended on an exit command; the settings it "
                         "left are not in the script)\n");
        }
    }
    std::fflush(stderr);
}

void MonkeyLog::Fail(std::string_view reason) {
    Report(reason);
    std::_Exit(1);
}

std::uint64_t MonkeyLog::Events() const {
    const std::lock_guard lock(mutex_);
    return events_;
}

int MonkeyLog::Start() const {
    const std::lock_guard lock(mutex_);
    return start_;
}

}  // namespace qv::tools
