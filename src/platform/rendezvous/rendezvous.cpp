#include "platform/rendezvous/rendezvous.h"

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

#include "platform/rendezvous/rendezvous_request.h"

namespace qv {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxRequestBytes = RendezvousRequest::kMaxEncoded;
// Answers are a window or a window's result (8 bytes), or a yes or no (1 byte).
constexpr std::size_t kMaxAnswerBytes = 64;
// Beyond this many waiting callers the oldest is dropped, so that no number of them holds more.
constexpr std::size_t kMaxWaitingRequests = 8;
// Peers beyond this many are not asked, so that one question holds few descriptors.
constexpr std::size_t kMaxPeersAsked = 64;
constexpr int kMaxSocketNames = 16;
constexpr const char* kSocketSuffix = ".sock";

std::optional<sockaddr_un> AddressOf(const fs::path& path) {
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
bool MakePrivateFolder(const fs::path& folder) {
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

// A socket of this user at the path itself; a link is not followed.
std::optional<FileIdentity> OwnSocketAt(const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino)};
}

// Removes the socket only while it is still the one that was seen.
void RemoveSocket(const fs::path& path, FileIdentity seen) {
    if (OwnSocketAt(path) == seen) {
        ::unlink(path.c_str());
    }
}

bool PeerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::geteuid();
}

enum class Connection { Made, Refused, Failed };

// Unix-domain connections are made at once or not at all (a full backlog counts as failed), so
// connecting never waits.
Connection Connect(const fs::path& socket, UniqueFd& fd) {
    const auto address = AddressOf(socket);
    if (!address) {
        return Connection::Failed;
    }
    fd = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd) {
        return Connection::Failed;
    }
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0) {
        return Connection::Made;
    }
    // Nobody listens: the program that made the socket is gone.
    return errno == ECONNREFUSED ? Connection::Refused : Connection::Failed;
}

enum class Progress { Waiting, Done, Broken };

// Takes what the other side has sent so far, up to its end; broken once it is more than `limit`.
Progress ReceiveAvailable(int fd, std::string& bytes, std::size_t limit) {
    char buffer[4096];
    while (true) {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? Progress::Waiting : Progress::Broken;
        }
        if (got == 0) {
            return Progress::Done;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit) {
            return Progress::Broken;
        }
    }
}

// Sends what the socket takes now; done once nothing is left.
Progress SendAvailable(int fd, std::string_view& bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? Progress::Waiting : Progress::Broken;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return Progress::Done;
}

// One question put to one peer, moved on whenever its socket is ready.
struct PeerCall {
    enum class State { Sending, Receiving, Answered, Failed };

    fs::path socket;
    UniqueFd fd;
    std::string_view unsent;
    std::string answer;
    State state = State::Sending;

    bool Over() const { return state == State::Answered || state == State::Failed; }
};

// Moves the call on as far as it goes without waiting.
void Advance(PeerCall& call) {
    if (call.state == PeerCall::State::Sending) {
        const Progress sent = SendAvailable(call.fd.Get(), call.unsent);
        if (sent == Progress::Waiting) {
            return;
        }
        // The request ends where the writing half is shut.
        call.state = sent == Progress::Done && ::shutdown(call.fd.Get(), SHUT_WR) == 0
                         ? PeerCall::State::Receiving
                         : PeerCall::State::Failed;
    }
    if (call.state == PeerCall::State::Receiving) {
        switch (ReceiveAvailable(call.fd.Get(), call.answer, kMaxAnswerBytes)) {
            case Progress::Waiting:
                return;
            case Progress::Done:
                call.state = PeerCall::State::Answered;
                break;
            case Progress::Broken:
                call.state = PeerCall::State::Failed;
                break;
        }
    }
    call.fd.Reset();
}

// Connects to the peer and starts the call; none when it cannot be made. A socket nobody
// listens on is removed.
std::optional<PeerCall> CallPeer(const fs::path& socket, FileIdentity identity,
                                 std::string_view request) {
    PeerCall call{socket, {}, request, {}, PeerCall::State::Sending};
    switch (Connect(socket, call.fd)) {
        case Connection::Refused:
            RemoveSocket(socket, identity);
            return std::nullopt;
        case Connection::Failed:
            return std::nullopt;
        case Connection::Made:
            break;
    }
    // Another user cannot enter the folder; the check keeps it so if the folder is opened.
    if (!PeerIsThisUser(call.fd.Get())) {
        return std::nullopt;
    }
    return call;
}

// Carries all the calls on together until `enough` says the answers so far suffice, every call
// is over, or the deadline has passed; calls still going then count as failed.
void CarryOn(std::vector<PeerCall>& calls, Clock::time_point deadline,
             const std::function<bool(const std::vector<PeerCall>&)>& enough) {
    std::vector<pollfd> ready;
    while (true) {
        ready.clear();
        for (PeerCall& call : calls) {
            if (!call.Over()) {
                Advance(call);
            }
            if (!call.Over()) {
                const short events = call.state == PeerCall::State::Sending ? POLLOUT : POLLIN;
                ready.push_back({call.fd.Get(), events, 0});
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (ready.empty() || enough(calls) || left.count() <= 0) {
            break;
        }
        ::poll(ready.data(), ready.size(), static_cast<int>(left.count()));
    }
    for (PeerCall& call : calls) {
        if (!call.Over()) {
            call.fd.Reset();
            call.state = PeerCall::State::Failed;
        }
    }
}

std::optional<std::uint64_t> WindowIn(const PeerCall& call) {
    std::uint64_t window = 0;
    if (call.state != PeerCall::State::Answered || call.answer.size() != sizeof(window)) {
        return std::nullopt;
    }
    std::memcpy(&window, call.answer.data(), sizeof(window));
    return window != 0 ? std::optional(window) : std::nullopt;
}

bool EveryCallOver(const std::vector<PeerCall>& calls) {
    return std::all_of(calls.begin(), calls.end(),
                       [](const PeerCall& call) { return call.Over(); });
}

// The earliest call with a window is known once every call before it is over.
bool FirstWindowKnown(const std::vector<PeerCall>& calls) {
    for (const PeerCall& call : calls) {
        if (!call.Over()) {
            return false;
        }
        if (WindowIn(call)) {
            return true;
        }
    }
    return true;
}

struct SocketFile {
    fs::path path;
    FileIdentity identity;
};

// The sockets of this user in the folder but its own, by name; links and other files are left out.
std::vector<SocketFile> OtherSockets(const fs::path& folder, const fs::path& own) {
    std::vector<SocketFile> sockets;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& path = entry->path();
        if (path.extension() != kSocketSuffix || path == own) {
            continue;
        }
        if (const auto identity = OwnSocketAt(path)) {
            sockets.push_back({path, *identity});
        }
    }
    std::sort(sockets.begin(), sockets.end(),
              [](const SocketFile& a, const SocketFile& b) { return a.path < b.path; });
    return sockets;
}

// Binds the listener to the first name of this process it can have. A name held by anything
// but a socket of ours that nobody listens on is left as it is, and the next name is tried.
std::optional<SocketFile> BindOwnName(const fs::path& folder, int listener) {
    const std::string pid = std::to_string(::getpid());
    for (int n = 0; n < kMaxSocketNames; ++n) {
        const fs::path path =
            folder / (pid + (n == 0 ? "" : "-" + std::to_string(n)) + kSocketSuffix);
        const auto address = AddressOf(path);
        if (!address) {
            return std::nullopt;
        }
        if (const auto stale = OwnSocketAt(path)) {
            UniqueFd probe;
            if (Connect(path, probe) == Connection::Refused) {
                RemoveSocket(path, *stale);
            }
        }
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0) {
            const auto identity = OwnSocketAt(path);
            if (!identity) {
                return std::nullopt;
            }
            return SocketFile{path, *identity};
        }
        if (errno != EADDRINUSE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

fs::path Rendezvous::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        return fs::path(runtime) / "quorvane";
    }
    return fs::path("/tmp") / ("quorvane-" + std::to_string(::geteuid()));
}

std::unique_ptr<Rendezvous> Rendezvous::Open(const fs::path& folder) {
    if (!MakePrivateFolder(folder)) {
        return nullptr;
    }
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener) {
        return nullptr;
    }
    const auto bound = BindOwnName(folder, listener.Get());
    if (!bound) {
        return nullptr;
    }
    if (::chmod(bound->path.c_str(), 0600) != 0 ||
        ::listen(listener.Get(), static_cast<int>(kMaxWaitingRequests)) != 0) {
        RemoveSocket(bound->path, bound->identity);
        return nullptr;
    }
    return std::unique_ptr<Rendezvous>(
        new Rendezvous(folder, bound->path, bound->identity, std::move(listener)));
}

Rendezvous::~Rendezvous() {
    RemoveSocket(socketPath_, socketIdentity_);
}

bool Rendezvous::Serve(const FindLocal& find, const RaiseLocal& raise,
                       const CopyDataLocal& copyData) {
    AcceptCalls();
    // Taken out of the waiting list first: answering may run a nested loop that serves again.
    bool served = false;
    for (const WaitingRequest& request : TakeWholeRequests()) {
        served = Answer(request, find, raise, copyData) || served;
    }
    return served;
}

void Rendezvous::AcceptCalls() {
    for (std::size_t taken = 0; taken < kMaxWaitingRequests; ++taken) {
        UniqueFd connection(
            ::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!connection) {
            return;
        }
        // Another user cannot enter the folder; the check keeps it so if the folder is opened.
        if (!PeerIsThisUser(connection.Get())) {
            continue;
        }
        if (waiting_.size() == kMaxWaitingRequests) {
            waiting_.erase(waiting_.begin());
        }
        waiting_.push_back({std::move(connection), {}, Clock::now() + kRequestDeadline});
    }
}

std::vector<Rendezvous::WaitingRequest> Rendezvous::TakeWholeRequests() {
    std::vector<WaitingRequest> whole;
    std::vector<WaitingRequest> unfinished;
    const Clock::time_point now = Clock::now();
    for (WaitingRequest& request : waiting_) {
        switch (ReceiveAvailable(request.connection.Get(), request.bytes, kMaxRequestBytes)) {
            case Progress::Done:
                whole.push_back(std::move(request));
                break;
            case Progress::Broken:
                break;
            case Progress::Waiting:
                if (now < request.deadline) {
                    unfinished.push_back(std::move(request));
                }
                break;
        }
    }
    waiting_ = std::move(unfinished);
    return whole;
}

bool Rendezvous::Answer(const WaitingRequest& waiting, const FindLocal& find,
                        const RaiseLocal& raise, const CopyDataLocal& copyData) {
    const auto request = RendezvousRequest::Decode(waiting.bytes);
    if (!request) {
        return false;
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
    } else if (request->kind == RendezvousRequest::Kind::Raise) {
        const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window));
        answer.push_back(window && raise(window) ? 1 : 0);
    } else {
        const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window));
        // No window to hand the bytes to: the empty answer tells the caller so.
        if (const auto result =
                window && copyData ? copyData(window, request->tag, request->data) : std::nullopt) {
            const auto value = static_cast<std::int64_t>(*result);
            answer.assign(reinterpret_cast<const char*>(&value), sizeof(value));
        }
    }
    // A fresh connection's buffer holds a few bytes at once; a caller that left gets nothing.
    std::string_view unsent = answer;
    SendAvailable(waiting.connection.Get(), unsent);
    return true;
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
    const std::string bytes = request.Encode();
    const Clock::time_point deadline = Clock::now() + kAnswerDeadline;
    std::vector<PeerCall> calls;
    for (const SocketFile& socket : OtherSockets(folder_, socketPath_)) {
        if (calls.size() == kMaxPeersAsked) {
            break;
        }
        if (auto call = CallPeer(socket.path, socket.identity, bytes)) {
            calls.push_back(std::move(*call));
        }
    }
    CarryOn(calls, deadline, FirstWindowKnown);
    for (const PeerCall& call : calls) {
        const auto window = WindowIn(call);
        if (!window) {
            continue;
        }
        for (const RemoteWindow& known : remotes_) {
            if (known.socket == call.socket && known.window == *window) {
                return known.handle;
            }
        }
        remotes_.push_back({newHandle(), call.socket, *window});
        return remotes_.back().handle;
    }
    return nullptr;
}

bool Rendezvous::IsRemote(HWND window) const {
    return std::any_of(remotes_.begin(), remotes_.end(),
                       [&](const RemoteWindow& known) { return known.handle == window; });
}

std::optional<std::string> Rendezvous::AskOwner(HWND remote, const RendezvousRequest& request,
                                                std::chrono::milliseconds timeout) {
    const auto found =
        std::find_if(remotes_.begin(), remotes_.end(),
                     [&](const RemoteWindow& known) { return known.handle == remote; });
    if (found == remotes_.end()) {
        return std::nullopt;
    }
    const auto identity = OwnSocketAt(found->socket);
    if (!identity) {
        return std::nullopt;
    }
    RendezvousRequest addressed = request;
    addressed.window = found->window;
    const std::string bytes = addressed.Encode();
    const Clock::time_point deadline = Clock::now() + std::min(timeout, kAnswerDeadline);
    std::vector<PeerCall> calls;
    if (auto call = CallPeer(found->socket, *identity, bytes)) {
        calls.push_back(std::move(*call));
    }
    CarryOn(calls, deadline, EveryCallOver);
    if (calls.empty() || calls[0].state != PeerCall::State::Answered) {
        return std::nullopt;
    }
    return std::move(calls[0].answer);
}

bool Rendezvous::Raise(HWND remote) {
    RendezvousRequest request;
    request.kind = RendezvousRequest::Kind::Raise;
    const auto answer = AskOwner(remote, request, kAnswerDeadline);
    return answer && answer->size() == 1 && (*answer)[0] == 1;
}

std::optional<LRESULT> Rendezvous::SendCopyData(HWND remote, std::uint64_t tag,
                                                std::string_view data,
                                                std::chrono::milliseconds timeout) {
    if (data.size() > RendezvousRequest::kMaxData) {
        return std::nullopt;
    }
    RendezvousRequest request;
    request.kind = RendezvousRequest::Kind::CopyData;
    request.tag = tag;
    request.data = data;
    const auto answer = AskOwner(remote, request, timeout);
    std::int64_t result = 0;
    if (!answer || answer->size() != sizeof(result)) {
        return std::nullopt;
    }
    std::memcpy(&result, answer->data(), sizeof(result));
    return static_cast<LRESULT>(result);
}

}  // namespace qv
