#include "map_argument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "printable.h"
#include "text/utf.h"

namespace qv::tools {

namespace {

// Closes the descriptor when the load is over.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

int Refuse(MapError& error, std::string reason) {
    error = {0, std::move(reason)};
    return -1;
}

}  // namespace

int LoadMapArgument(NetworkModel& model, const std::string& path, Settings settings,
                    MapError& error) {
    if (const std::optional<std::u16string> name = Utf8ToUtf16(path)) {
        return LoadMapFile(model, *name, std::move(settings), &error);
    }
    // The loader takes names as UTF-16, which cannot hold every Linux file name: such a file is
    // opened here by its bytes and handed to the loader by the name of the open descriptor.
    // Opening does not wait for a writer, so a FIFO is refused below instead of hanging.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        return Refuse(error, std::string("cannot open the file: ") + std::strerror(errno));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        return Refuse(error, std::string("cannot open the file: ") + std::strerror(errno));
    }
    if (S_ISDIR(status.st_mode)) {
        return Refuse(error, "cannot open: it is a folder");
    }
    if (!S_ISREG(status.st_mode)) {
        return Refuse(error, "cannot open: not a regular file");
    }
    const std::string opened = "/proc/self/fd/" + std::to_string(file.Get());
    return LoadMapFile(model, *Utf8ToUtf16(opened), std::move(settings), &error);
}

std::string MapErrorLine(const std::string& path, const MapError& error) {
    const std::string where = error.line > 0 ? ":" + std::to_string(error.line) : "";
    return Printable(path) + where + ": error: " + Printable(error.reason);
}

}  // namespace qv::tools
