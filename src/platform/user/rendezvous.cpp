#include "platform/user/rendezvous.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/user/rendezvous_request.h"

namespace qv {

namespace {

constexpr std::size_t kMaxRequestBytes = 4096;
constexpr int kAnswerTimeoutMs = 200;
constexpr int kAskTimeoutMs = 1000;
constexpr const char* kSocketSuffix = ".sock";

std::optional<sockaddr_un> AddressOf(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

// The folder exists, is a real folder of this user and no one else may enter it.
bool MakePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return false;
    }
    if ((status.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        return false;
    }
    return true;
}

// Waits until the descriptor can be read or written; false on timeout.
bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd entry{fd, events, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

bool SendAll(int fd, std::string_view bytes, int timeoutMs) {
    while (!bytes.empty()) {
        if (!WaitFor(fd, POLLOUT, timeoutMs)) {
            return false;
        }
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Everything the other side sends until it ends its half; nothing when it sends too much or
// too slowly.
std::optional<std::string> ReceiveAll(int fd, int timeoutMs) {
    std::string bytes;
    char buffer[512];
    while (true) {
        if (!WaitFor(fd, POLLIN, timeoutMs)) {
            return std::nullopt;
        }
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxRequestBytes) {
            return std::nullopt;
        }
    }
}

bool PeerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::geteuid();
}

enum class AskOutcome { Answered, Stale, Failed };

// Sends the request to the socket and returns the answer.
AskOutcome Ask(const std::filesystem::path& socket, const RendezvousRequest& request,
               std::string& answer) {
    const auto address = AddressOf(socket);
    if (!address) {
        return AskOutcome::Failed;
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        return AskOutcome::Failed;
    }
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) != 0) {
        // Nobody listens: the program that made the socket is gone.
        return errno == ECONNREFUSED ? AskOutcome::Stale : AskOutcome::Failed;
    }
    if (!PeerIsThisUser(fd.Get()) || !SendAll(fd.Get(), request.Encode(), kAskTimeoutMs) ||
        ::shutdown(fd.Get(), SHUT_WR) != 0) {
        return AskOutcome::Failed;
    }
    const auto received = ReceiveAll(fd.Get(), kAskTimeoutMs);
    if (!received) {
        return AskOutcome::Failed;
    }
    answer = *received;
    return AskOutcome::Answered;
}

// Removes a socket left behind, and nothing else.
void RemoveStale(const std::filesystem::path& socket) {
    struct stat status {};
    if (::lstat(socket.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
        status.st_uid == ::geteuid()) {
        ::unlink(socket.c_str());
    }
}

}  // namespace

std::filesystem::path Rendezvous::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        return std::filesystem::path(runtime) / "quorvane";
    }
    return std::filesystem::path("/tmp") / ("quorvane-" + std::to_string(::geteuid()));
}

std::unique_ptr<Rendezvous> Rendezvous::Open(const std::filesystem::path& folder) {
    if (!MakePrivateFolder(folder)) {
        return nullptr;
    }
    std::filesystem::path socketPath = folder / (std::to_string(::getpid()) + kSocketSuffix);
    const auto address = AddressOf(socketPath);
    if (!address) {
        return nullptr;
    }
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener) {
        return nullptr;
    }
    // A socket of this process id can only be a dead program's.
    RemoveStale(socketPath);
    if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) !=
            0 ||
        ::chmod(socketPath.c_str(), 0600) != 0 || ::listen(listener.Get(), 8) != 0) {
        ::unlink(socketPath.c_str());
        return nullptr;
    }
    return std::unique_ptr<Rendezvous>(new Rendezvous(folder, socketPath, std::move(listener)));
}

Rendezvous::~Rendezvous() {
    ::unlink(socketPath_.c_str());
}

bool Rendezvous::Serve(const FindLocal& find, const RaiseLocal& raise) {
    bool served = false;
    while (true) {
        UniqueFd connection(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection) {
            return served;
        }
        // Another user cannot enter the folder; the check keeps it so if the folder is opened.
        if (PeerIsThisUser(connection.Get())) {
            Answer(connection.Get(), find, raise);
            served = true;
        }
    }
}

void Rendezvous::Answer(int connection, const FindLocal& find, const RaiseLocal& raise) {
    const auto received = ReceiveAll(connection, kAnswerTimeoutMs);
    const auto request = received ? RendezvousRequest::Decode(*received) : std::nullopt;
    if (!request) {
        return;
    }
    std::string answer;
    if (request->kind == RendezvousRequest::Kind::Find) {
        std::optional<std::u16string_view> title;
        if (request->title) {
            title = *request->title;
        }
        const HWND window = find(request->className, title);
        const auto id = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
        answer.assign(reinterpret_cast<const char*>(&id), sizeof(id));
    } else {
        const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window));
        answer.push_back(window && raise(window) ? 1 : 0);
    }
    SendAll(connection, answer, kAnswerTimeoutMs);
}

HWND Rendezvous::Find(std::u16string_view className, std::optional<std::u16string_view> title,
                      const NewHandle& newHandle) {
    RendezvousRequest request;
    request.kind = RendezvousRequest::Kind::Find;
    request.className = className;
    if (title) {
        request.title = std::u16string(*title);
    }
    if (request.className.size() > RendezvousRequest::kMaxName ||
        (request.title && request.title->size() > RendezvousRequest::kMaxName)) {
        return nullptr;
    }
    std::error_code error;
    std::vector<std::filesystem::path> sockets;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() == kSocketSuffix && path != socketPath_) {
            sockets.push_back(path);
        }
    }
    std::sort(sockets.begin(), sockets.end());
    for (const std::filesystem::path& socket : sockets) {
        std::string answer;
        const AskOutcome outcome = Ask(socket, request, answer);
        if (outcome == AskOutcome::Stale) {
            RemoveStale(socket);
            continue;
        }
        std::uint64_t window = 0;
        if (outcome != AskOutcome::Answered || answer.size() != sizeof(window)) {
            continue;
        }
        std::memcpy(&window, answer.data(), sizeof(window));
        if (window == 0) {
            continue;
        }
        for (const RemoteWindow& known : remotes_) {
            if (known.socket == socket && known.window == window) {
                return known.handle;
            }
        }
        remotes_.push_back({newHandle(), socket, window});
        return remotes_.back().handle;
    }
    return nullptr;
}

bool Rendezvous::IsRemote(HWND window) const {
    return std::any_of(remotes_.begin(), remotes_.end(),
                       [&](const RemoteWindow& known) { return known.handle == window; });
}

bool Rendezvous::Raise(HWND remote) {
    const auto found =
        std::find_if(remotes_.begin(), remotes_.end(),
                     [&](const RemoteWindow& known) { return known.handle == remote; });
    if (found == remotes_.end()) {
        return false;
    }
    RendezvousRequest request;
    request.kind = RendezvousRequest::Kind::Raise;
    request.window = found->window;
    std::string answer;
    const AskOutcome outcome = Ask(found->socket, request, answer);
    if (outcome == AskOutcome::Stale) {
        RemoveStale(found->socket);
    }
    return outcome == AskOutcome::Answered && answer.size() == 1 && answer[0] == 1;
}

}  // namespace qv
