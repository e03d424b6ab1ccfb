#include "settings/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <optional>
#include <string>
#include <system_error>

#include "text/unique_fd.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;
// mkstemp's pattern after the name of the file replaced: six letters or digits, behind a word no
// one gives a copy of their own (a "quorvane.ini.backup" must never look like a temporary).
constexpr std::string_view kTemporaryPrefix = ".save-";
constexpr std::string_view kTemporaryPattern = ".save-XXXXXX";
// A save whose temporary was taken for stale by another save tries again this often.
constexpr int kCreateAttempts = 3;
// A temporary younger than this may belong to a save that has made it and not yet locked it.
constexpr time_t kFreshSeconds = 60;

// The file that `path` finally names, its symbolic links followed; nothing for a loop of links.
std::optional<fs::path> FinalTarget(fs::path path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            return path;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        path = path.parent_path() / target;  // an absolute target replaces the whole path
    }
    return std::nullopt;
}

bool IsTemporaryName(const std::string& name, const std::string& fileName) {
    const std::string prefix = fileName + std::string(kTemporaryPrefix);
    if (name.size() != fileName.size() + kTemporaryPattern.size() ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return std::all_of(
        name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        });
}

// A temporary is stale when it is a regular file of ours, older than a live save can be before
// it locks its temporary, whose lock no live save holds. The name must still be that file when it
// is removed.
void RemoveIfStale(const fs::path& candidate) {
    const UniqueFd file(
        ::open(candidate.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    struct stat opened {};
    struct stat named {};
    if (file.Get() < 0 || ::fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_uid != ::geteuid() || ::time(nullptr) - opened.st_mtime < kFreshSeconds ||
        ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0 || ::lstat(candidate.c_str(), &named) != 0 ||
        named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) {
        return;
    }
    ::unlink(candidate.c_str());
}

void RemoveStaleTemporaries(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string fileName = target.filename().string();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (IsTemporaryName(entry->path().filename().string(), fileName)) {
            RemoveIfStale(entry->path());
        }
    }
}

// A new temporary beside the target, locked for as long as it stays open. Between its creation
// and the lock another save may take it for stale and remove it; then a new one is made.
int CreateLockedTemporary(const fs::path& target, std::string& name) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        name = target.string();
        name += kTemporaryPattern;
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return -1;
        }
        struct stat status {};
        ::flock(fd, LOCK_EX);
        if (::fstat(fd, &status) == 0 && status.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool ReplaceFileAtomically(const fs::path& path, std::string_view bytes) {
    if (path.empty() || !path.has_filename()) {
        return false;
    }
    std::error_code error;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), error);
        if (error) {
            return false;
        }
    }
    const std::optional<fs::path> target = FinalTarget(path);
    if (!target) {
        return false;
    }
    RemoveStaleTemporaries(*target);
    std::string temporary;
    // The lock lasts until the rename is done, so no other save removes the temporary before.
    const UniqueFd file(CreateLockedTemporary(*target, temporary));
    if (file.Get() < 0) {
        return false;
    }
    if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 ||
        ::rename(temporary.c_str(), target->c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qv
