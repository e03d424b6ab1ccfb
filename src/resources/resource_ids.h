#pragma once

namespace qv {

// Bitmaps of the scheme's markers.
inline constexpr int IDB_DEPARTURE_MARKER = 5018;
inline constexpr int IDB_FORBIDDEN_MARKER = 5019;
inline constexpr int IDB_DESTINATION_MARKER = 5020;

}  // namespace qv
