#pragma once

#include <unistd.h>

namespace qv {

// An open file descriptor of the core's file readers and writers, closed when it goes.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace qv
