#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/user/unique_fd.h"
#include "platform/user/user_types.h"

namespace qv {

// Where the running programs of one user find each other: each listens on a Unix-domain socket
// named after its process in a folder only that user can enter, and answers whether it has a
// top-level window of a class and title, and raises it on request. Sockets that nobody listens
// on any more (their program died) are removed by whoever meets them.
class Rendezvous {
  public:
    using FindLocal = std::function<HWND(std::u16string_view className,
                                         std::optional<std::u16string_view> title)>;
    using RaiseLocal = std::function<bool(HWND window)>;
    using NewHandle = std::function<HWND()>;

    // $XDG_RUNTIME_DIR/quorvane, or /tmp/quorvane-UID without a runtime folder.
    static std::filesystem::path DefaultFolder();
    // Listens in the folder, which is made (or kept) private to the user first. Null when the
    // folder cannot be made safe: another user's, a link, or not a folder.
    static std::unique_ptr<Rendezvous> Open(const std::filesystem::path& folder);
    ~Rendezvous();
    Rendezvous(const Rendezvous&) = delete;
    Rendezvous& operator=(const Rendezvous&) = delete;

    const std::filesystem::path& SocketPath() const { return socketPath_; }

    // Answers the requests waiting now, without waiting for more. True when one was answered.
    bool Serve(const FindLocal& find, const RaiseLocal& raise);
    // Asks the other programs, nearest first; their window under a handle of this program.
    HWND Find(std::u16string_view className, std::optional<std::u16string_view> title,
              const NewHandle& newHandle);
    bool IsRemote(HWND window) const;
    // Asks the program that owns the remote window to raise it.
    bool Raise(HWND remote);

  private:
    struct RemoteWindow {
        HWND handle = nullptr;
        std::filesystem::path socket;
        std::uint64_t window = 0;
    };

    Rendezvous(std::filesystem::path folder, std::filesystem::path socketPath, UniqueFd listener)
        : folder_(std::move(folder)),
          socketPath_(std::move(socketPath)),
          listener_(std::move(listener)) {}
    void Answer(int connection, const FindLocal& find, const RaiseLocal& raise);

    std::filesystem::path folder_;
    std::filesystem::path socketPath_;
    UniqueFd listener_;
    std::vector<RemoteWindow> remotes_;
};

}  // namespace qv
