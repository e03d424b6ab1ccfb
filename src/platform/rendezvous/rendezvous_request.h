#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// What one program asks another through the rendezvous: whether it has a top-level window of a
// class and title, to raise one of its windows, or to hand one of them tagged bytes as
// WM_COPYDATA does. Sent as one short message that the asking
// side ends by shutting its writing half.
struct RendezvousRequest {
    enum class Kind : char { Find = 'F', Raise = 'R', CopyData = 'D' };

    // Longer names are refused, so that a request stays small.
    static constexpr std::size_t kMaxName = 256;
    // More bytes are refused, so that no caller makes a program hold much.
    static constexpr std::size_t kMaxData = 64 * 1024;
    // The longest request that can be whole: handed bytes with their window, tag and length.
    static constexpr std::size_t kMaxEncoded = kMaxData + 32;

    Kind kind = Kind::Find;
    std::u16string className{};
    std::optional<std::u16string> title{};
    std::uint64_t window = 0;
    std::uint64_t tag = 0;
    std::string data{};

    std::string Encode() const;
    static std::optional<RendezvousRequest> Decode(std::string_view bytes);
    bool operator==(const RendezvousRequest&) const = default;
};

}  // namespace qv
