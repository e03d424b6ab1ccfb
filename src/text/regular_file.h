#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace qv {

// What to do with a file larger than the caller's limit.
enum class LongerFile { Refuse, ReadItsStart };

// What reading a file gave: its bytes, or why it could not be read.
struct RegularFileContents {
    bool read = false;
    std::string bytes;    // at most the limit
    bool longer = false;  // the file holds more than the limit
    std::string reason;   // why the file was not read, when `read` is false
};

// Reads the file at `path`, up to `maxBytes`. Anything that is not a regular file (a folder, a
// FIFO, a socket, a device) is refused before a byte is read: opening never waits for a peer.
RegularFileContents ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                                    LongerFile longer);

}  // namespace qv
