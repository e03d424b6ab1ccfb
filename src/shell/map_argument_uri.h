#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The path a map argument names: the argument itself, or the path of a file:// URI as a desktop
// passes it (with "localhost" or no host, percent-escapes decoded). Nothing for a URI of another
// kind or host, or with a broken escape.
std::optional<std::string> MapArgumentPath(std::string_view argument);

}  // namespace qv
