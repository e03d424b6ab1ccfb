#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// What one program asks another through the rendezvous: whether it has a top-level window of a
// class and title, or to raise one of its windows. Sent as one short message that the asking
// side ends by shutting its writing half.
struct RendezvousRequest {
    enum class Kind : char { Find = 'F', Raise = 'R' };

    // Longer names are refused, so that a request stays small.
    static constexpr std::size_t kMaxName = 256;

    Kind kind = Kind::Find;
    std::u16string className;
    std::optional<std::u16string> title;
    std::uint64_t window = 0;

    std::string Encode() const;
    static std::optional<RendezvousRequest> Decode(std::string_view bytes);
};

}  // namespace qv
