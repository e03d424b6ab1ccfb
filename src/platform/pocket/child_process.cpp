#include "platform/pocket/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "text/unique_fd.h"

namespace qv {

namespace {

bool IsExecutableFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The argument vector a child execs with, made before the fork: after it only async-signal-safe
// calls are allowed.
class ArgumentVector {
  public:
    ArgumentVector(const std::filesystem::path& program, const std::vector<std::string>& arguments)
        : strings_{program.string()} {
        strings_.insert(strings_.end(), arguments.begin(), arguments.end());
        for (std::string& text : strings_) {
            pointers_.push_back(text.data());
        }
        pointers_.push_back(nullptr);
    }
    char* const* Get() { return pointers_.data(); }
    const char* Program() const { return strings_.front().c_str(); }

  private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

std::optional<Pipe> MakePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    return Pipe{UniqueFd(ends[0]), UniqueFd(ends[1])};
}

void WriteErrorAndExit(int fd, int error) {
    [[maybe_unused]] const ssize_t written = ::write(fd, &error, sizeof error);
    ::_exit(127);
}

void InputFromNull() {
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0 && null != STDIN_FILENO) {
        ::dup2(null, STDIN_FILENO);
        ::close(null);
    }
}

// Reads the errno a child wrote before its exec failed; end of file means the exec succeeded.
int ReadExecError(int fd) {
    int error = 0;
    ssize_t got;
    do {
        got = ::read(fd, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

pid_t WaitFor(pid_t child, int* status) {
    pid_t done;
    do {
        done = ::waitpid(child, status, 0);
    } while (done < 0 && errno == EINTR);
    return done;
}

}  // namespace

std::optional<std::filesystem::path> FindProgram(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string_view::npos) {
        const std::filesystem::path path(name);
        return IsExecutableFile(path) ? std::optional(path) : std::nullopt;
    }
    const char* searchPath = std::getenv("PATH");
    std::string_view folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        // An empty entry is the current folder, which a program of the desktop never is.
        if (!folder.empty()) {
            std::filesystem::path candidate = std::filesystem::path(folder) / name;
            if (IsExecutableFile(candidate)) {
                return candidate;
            }
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        folders.remove_prefix(colon + 1);
    }
}

int StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path* folder) {
    ArgumentVector argv(program, arguments);
    const std::string folderText = folder ? folder->string() : std::string();
    std::optional<Pipe> report = MakePipe();
    if (!report) {
        return errno;
    }
    const pid_t middle = ::fork();
    if (middle < 0) {
        return errno;
    }
    if (middle == 0) {
        report->read.Reset();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            WriteErrorAndExit(report->write.Get(), errno);
        }
        if (grandchild > 0) {
            ::_exit(0);
        }
        ::setsid();
        InputFromNull();
        if (!folderText.empty() && ::chdir(folderText.c_str()) != 0) {
            WriteErrorAndExit(report->write.Get(), errno);
        }
        ::execv(argv.Program(), argv.Get());
        WriteErrorAndExit(report->write.Get(), errno);
    }
    report->write.Reset();
    int status = 0;
    if (WaitFor(middle, &status) < 0) {
        return errno;
    }
    return ReadExecError(report->read.Get());
}

std::optional<std::string> RunForOutput(const std::filesystem::path& program,
                                        const std::vector<std::string>& arguments,
                                        std::size_t maxBytes, std::chrono::milliseconds limit) {
    ArgumentVector argv(program, arguments);
    std::optional<Pipe> output = MakePipe();
    if (!output) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return std::nullopt;
    }
    if (child == 0) {
        InputFromNull();
        ::dup2(output->write.Get(), STDOUT_FILENO);
        ::execv(argv.Program(), argv.Get());
        ::_exit(127);
    }
    output->write.Reset();
    std::string text;
    bool complete = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd waiting{output->read.Get(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        char buffer[512];
        const ssize_t got = ::read(output->read.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        if (text.size() + static_cast<std::size_t>(got) > maxBytes) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    if (!complete) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    if (WaitFor(child, &status) < 0 || !complete || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return text;
}

}  // namespace qv
