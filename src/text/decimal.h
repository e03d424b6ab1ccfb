#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Reads a number the way the files were always read ("%d", "%X"): leading white space skipped,
// an optional sign (decimal only), digits, anything after the digits ignored. Returns nothing
// when there are no digits or the value does not fit.
std::optional<std::int32_t> ParseDecimal(std::u16string_view text);
std::optional<std::uint32_t> ParseHex(std::u16string_view text);

std::u16string FormatDecimal(std::int64_t value);

}  // namespace qv
