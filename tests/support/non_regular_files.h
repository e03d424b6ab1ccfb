#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace qv::testing {

// A FIFO nobody writes to and a socket that listens while the object lives.
class NonRegularFiles {
  public:
    NonRegularFiles(const std::filesystem::path& fifo, const std::filesystem::path& socketPath) {
        made_ = ::mkfifo(fifo.c_str(), 0600) == 0;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (socketPath.native().size() >= sizeof(address.sun_path)) {
            made_ = false;
            return;
        }
        std::strcpy(address.sun_path, socketPath.c_str());
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        made_ =
            made_ && listener_ >= 0 &&
            ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
            ::listen(listener_, 1) == 0;
    }
    NonRegularFiles(const NonRegularFiles&) = delete;
    NonRegularFiles& operator=(const NonRegularFiles&) = delete;
    ~NonRegularFiles() {
        if (listener_ >= 0) {
            ::close(listener_);
        }
    }

    bool Made() const { return made_; }

  private:
    int listener_ = -1;
    bool made_ = false;
};

}  // namespace qv::testing
