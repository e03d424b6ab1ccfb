#include "platform/rendezvous/rendezvous_request.h"

#include <cstring>
#include <utility>

namespace qv {

namespace {

template <typename T>
void Put(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void PutText(std::string& out, std::u16string_view text) {
    Put(out, static_cast<std::uint32_t>(text.size()));
    for (const char16_t c : text) {
        Put(out, static_cast<std::uint16_t>(c));
    }
}

// Reads values from the front of the bytes; fails once anything is missing.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    template <typename T>
    std::optional<T> Take() {
        if (bytes_.size() < sizeof(T)) {
            return std::nullopt;
        }
        T value;
        std::memcpy(&value, bytes_.data(), sizeof(T));
        bytes_.remove_prefix(sizeof(T));
        return value;
    }

    std::optional<std::u16string> TakeText() {
        const auto length = Take<std::uint32_t>();
        if (!length || *length > RendezvousRequest::kMaxName) {
            return std::nullopt;
        }
        std::u16string text;
        for (std::uint32_t i = 0; i < *length; ++i) {
            const auto c = Take<std::uint16_t>();
            if (!c) {
                return std::nullopt;
            }
            text.push_back(static_cast<char16_t>(*c));
        }
        return text;
    }

    std::optional<std::string> TakeBytes() {
        const auto length = Take<std::uint32_t>();
        if (!length || *length > RendezvousRequest::kMaxData || bytes_.size() < *length) {
            return std::nullopt;
        }
        std::string taken(bytes_.substr(0, *length));
        bytes_.remove_prefix(*length);
        return taken;
    }

    bool AtEnd() const { return bytes_.empty(); }

  private:
    std::string_view bytes_;
};

}  // namespace

std::string RendezvousRequest::Encode() const {
    std::string out;
    out.push_back(static_cast<char>(kind));
    if (kind == Kind::Raise) {
        Put(out, window);
        return out;
    }
    if (kind == Kind::CopyData) {
        Put(out, window);
        Put(out, tag);
        Put(out, static_cast<std::uint32_t>(data.size()));
        out.append(data);
        return out;
    }
    PutText(out, className);
    out.push_back(title ? 1 : 0);
    if (title) {
        PutText(out, *title);
    }
    return out;
}

std::optional<RendezvousRequest> RendezvousRequest::Decode(std::string_view bytes) {
    Reader reader(bytes);
    const auto kind = reader.Take<char>();
    if (!kind) {
        return std::nullopt;
    }
    RendezvousRequest request;
    if (*kind == static_cast<char>(Kind::Raise)) {
        request.kind = Kind::Raise;
        const auto window = reader.Take<std::uint64_t>();
        if (!window || !reader.AtEnd()) {
            return std::nullopt;
        }
        request.window = *window;
        return request;
    }
    if (*kind == static_cast<char>(Kind::CopyData)) {
        request.kind = Kind::CopyData;
        const auto window = reader.Take<std::uint64_t>();
        const auto tag = reader.Take<std::uint64_t>();
        auto data = reader.TakeBytes();
        if (!window || !tag || !data || !reader.AtEnd()) {
            return std::nullopt;
        }
        request.window = *window;
        request.tag = *tag;
        request.data = std::move(*data);
        return request;
    }
    if (*kind != static_cast<char>(Kind::Find)) {
        return std::nullopt;
    }
    auto className = reader.TakeText();
    const auto hasTitle = reader.Take<char>();
    if (!className || !hasTitle || (*hasTitle != 0 && *hasTitle != 1)) {
        return std::nullopt;
    }
    request.className = std::move(*className);
    if (*hasTitle == 1) {
        request.title = reader.TakeText();
        if (!request.title) {
            return std::nullopt;
        }
    }
    if (!reader.AtEnd()) {
        return std::nullopt;
    }
    return request;
}

}  // namespace qv
