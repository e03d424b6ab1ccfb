#include "text/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

#include "text/unique_fd.h"

namespace qv {

namespace {

// Nothing for a regular file.
const char* OtherKind(mode_t mode) {
    if (S_ISREG(mode)) {
        return nullptr;
    }
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (S_ISFIFO(mode)) {
        return "it is a FIFO (named pipe), not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a regular file";
    }
    return "it is not a regular file";
}

RegularFileContents Refusal(std::string reason) {
    RegularFileContents contents;
    contents.reason = std::move(reason);
    return contents;
}

std::string SystemReason(const char* what, int error) {
    return std::string(what) + ": " + std::generic_category().message(error);
}

// Reads until the end of the file or until `limit` bytes; the size known beforehand is only a
// hint, since the file may change while it is read.
bool ReadUpTo(int fd, std::size_t limit, std::size_t sizeHint, std::string& bytes, int& error) {
    bytes.resize(std::max<std::size_t>(sizeHint, 1));
    std::size_t filled = 0;
    while (filled < limit) {
        if (filled == bytes.size()) {
            bytes.resize(std::min(limit, bytes.size() * 2));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = errno;
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

}  // namespace

RegularFileContents ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                    LongerFile longer) {
    // Without O_NONBLOCK opening a FIFO waits for a writer; O_NOCTTY keeps a terminal from
    // becoming ours.
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (file.Get() < 0) {
        const int openError = errno;
        // A socket cannot be opened at all; say what it is rather than the system's words.
        if (::stat(path.c_str(), &status) == 0 && OtherKind(status.st_mode)) {
            return Refusal(std::string("cannot open: ") + OtherKind(status.st_mode));
        }
        return Refusal(SystemReason("cannot open the file", openError));
    }
    if (::fstat(file.Get(), &status) != 0) {
        return Refusal(SystemReason("cannot examine the file", errno));
    }
    if (const char* kind = OtherKind(status.st_mode)) {
        return Refusal(std::string("cannot open: ") + kind);
    }
    const auto size = static_cast<std::uintmax_t>(std::max<off_t>(status.st_size, 0));
    RegularFileContents contents;
    const auto tooLarge = [maxBytes] {
        RegularFileContents refused =
            Refusal("the file is larger than " + std::to_string(maxBytes) + " bytes");
        refused.longer = true;
        return refused;
    };
    if (longer == LongerFile::Refuse && size > maxBytes) {
        return tooLarge();
    }
    const int flags = ::fcntl(file.Get(), F_GETFL);
    if (flags >= 0) {
        ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    // One byte beyond the limit tells a file of exactly the limit from a longer one.
    const std::size_t limit = maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
    const auto sizeHint = static_cast<std::size_t>(std::min<std::uintmax_t>(size + 1, limit));
    int readError = 0;
    if (!ReadUpTo(file.Get(), limit, sizeHint, contents.bytes, readError)) {
        return Refusal(SystemReason("cannot read the file", readError));
    }
    if (contents.bytes.size() > maxBytes) {
        contents.bytes.resize(maxBytes);
        if (longer == LongerFile::Refuse) {
            return tooLarge();
        }
        contents.longer = true;
    }
    contents.read = true;
    return contents;
}

}  // namespace qv
