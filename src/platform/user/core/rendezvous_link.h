#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// What the window layer asks of the rendezvous of running programs (platform/rendezvous): to
// answer the other programs' requests while it waits, and to find, raise and hand bytes to a
// window of another program, which has a handle of this program that no window of its own has.
class RendezvousLink {
  public:
    using FindLocal = std::function<HWND(std::u16string_view className,
                                         std::optional<std::u16string_view> title)>;
    using RaiseLocal = std::function<bool(HWND window)>;
    // What the window returned for the bytes; none when it is not there.
    using CopyDataLocal = std::function<std::optional<LRESULT>(HWND window, std::uint64_t tag,
                                                               std::string_view data)>;
    using NewHandle = std::function<HWND()>;

    virtual ~RendezvousLink() = default;

    // Answers the requests that came so far, without waiting; true when one was answered.
    virtual bool Serve(const FindLocal& find, const RaiseLocal& raise,
                       const CopyDataLocal& copyData) = 0;
    // The window of another program with the class and title, under a new handle; null when
    // none has one.
    virtual HWND Find(std::u16string_view className, std::optional<std::u16string_view> title,
                      const NewHandle& newHandle) = 0;
    virtual bool IsRemote(HWND window) const = 0;
    virtual bool Raise(HWND remote) = 0;
    // What the remote window returned for the bytes; none when no answer came in time.
    virtual std::optional<LRESULT> SendCopyData(HWND remote, std::uint64_t tag,
                                                std::string_view data,
                                                std::chrono::milliseconds timeout) = 0;
};

}  // namespace qv
