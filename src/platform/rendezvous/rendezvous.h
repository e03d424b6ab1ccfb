#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/core/rendezvous_link.h"
#include "platform/user/records/user_types.h"
#include "text/unique_fd.h"

namespace qv {

struct RendezvousRequest;

// Which file a path named when it was looked at, so that a file put in its place later is told
// apart from it.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Where the running programs of one user find each other: each listens on a Unix-domain socket
// named after its process in a folder only that user can enter, and answers whether it has a
// top-level window of a class and title, raises it on request, and hands it tagged bytes as a
// sent WM_COPYDATA, answering with what the window returned. Sockets that nobody listens
// on any more (their program died) are removed by whoever meets them; nothing else is removed.
// No peer can hold a program longer than a fixed deadline, whether it asks or answers.
class Rendezvous : public RendezvousLink {
  public:
    // How long a peer has to send its whole request once its call was taken.
    static constexpr std::chrono::milliseconds kRequestDeadline{300};
    // How long all the peers asked together have to answer.
    static constexpr std::chrono::milliseconds kAnswerDeadline{500};

    // $XDG_RUNTIME_DIR/quorvane, or /tmp/quorvane-UID without a runtime folder.
    static std::filesystem::path DefaultFolder();
    // Listens in the folder, which is made (or kept) private to the user first. Null when the
    // folder cannot be made safe: another user's, a link, or not a folder. The socket is
    // "<pid>.sock", or "<pid>-N.sock" when something that is not a dead socket of ours holds
    // that name.
    static std::unique_ptr<Rendezvous> Open(const std::filesystem::path& folder);
    ~Rendezvous() override;
    Rendezvous(const Rendezvous&) = delete;
    Rendezvous& operator=(const Rendezvous&) = delete;

    const std::filesystem::path& SocketPath() const { return socketPath_; }

    // Takes what callers have sent so far without waiting for more, answers the requests that
    // are whole and drops those past their deadline. True when one was answered.
    // Bytes handed over are refused without a `copyData`. A request that cannot be read (broken
    // or too large) is dropped unanswered; bytes for a window that is not here get an empty answer.
    bool Serve(const FindLocal& find, const RaiseLocal& raise,
               const CopyDataLocal& copyData = {}) override;
    // Asks the other programs all at once; the window of the first by socket name that has one,
    // under a handle of this program.
    HWND Find(std::u16string_view className, std::optional<std::u16string_view> title,
              const NewHandle& newHandle) override;
    bool IsRemote(HWND window) const override;
    // Asks the program that owns the remote window to raise it.
    bool Raise(HWND remote) override;
    // Hands the remote window the bytes under the tag and waits for its answer, at most
    // `timeout` and never past kAnswerDeadline; none when more than
    // RendezvousRequest::kMaxData bytes are given or no answer came in time.
    std::optional<LRESULT> SendCopyData(HWND remote, std::uint64_t tag, std::string_view data,
                                        std::chrono::milliseconds timeout) override;

  private:
    struct RemoteWindow {
        HWND handle = nullptr;
        std::filesystem::path socket;
        std::uint64_t window = 0;
    };
    struct WaitingRequest {
        UniqueFd connection;
        std::string bytes;
        std::chrono::steady_clock::time_point deadline;
    };

    Rendezvous(std::filesystem::path folder, std::filesystem::path socketPath,
               FileIdentity socketIdentity, UniqueFd listener)
        : folder_(std::move(folder)),
          socketPath_(std::move(socketPath)),
          socketIdentity_(socketIdentity),
          listener_(std::move(listener)) {}
    void AcceptCalls();
    std::vector<WaitingRequest> TakeWholeRequests();
    static bool Answer(const WaitingRequest& request, const FindLocal& find,
                       const RaiseLocal& raise, const CopyDataLocal& copyData);
    // The whole answer of the program that owns the remote window; none when it gave none in
    // time.
    std::optional<std::string> AskOwner(HWND remote, const RendezvousRequest& request,
                                        std::chrono::milliseconds timeout);

    std::filesystem::path folder_;
    std::filesystem::path socketPath_;
    FileIdentity socketIdentity_;
    UniqueFd listener_;
    std::vector<WaitingRequest> waiting_;
    std::vector<RemoteWindow> remotes_;
};

}  // namespace qv
