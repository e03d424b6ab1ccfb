#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/network_model.h"

namespace qv {

// The most points a map may hold: the format's route entries were 16-bit.
inline constexpr std::int32_t kMaxMapPoints = 32767;

// Why a map file was refused, for the tools; the program itself shows one message for all.
struct MapError {
    int line = 0;  // 1-based line of the file, 0 when the reason concerns the whole file
    std::string reason;
};

// Hands out the lines of a map text one by one and counts them.
class MapTextReader {
  public:
    explicit MapTextReader(std::u16string_view text) : rest_(text) {}

    // The next line without its line end; nothing at the end of the text.
    std::optional<std::u16string_view> ReadLine();
    // The number of the line last read (1-based).
    int LineNumber() const { return lineNumber_; }

  private:
    std::u16string_view rest_;
    int lineNumber_ = 0;
};

// Takes the next field off the front of a record line: the text before the first ";", without
// the spaces that start it. The ";" is consumed. Nothing when the line holds no ";".
std::optional<std::u16string_view> ReadField(std::u16string_view& line);

// Fills the model's lines, points, transfers, drawing parameters and tab letters from the text of
// a map file (without byte-order mark). Returns 0, or -1 with the reason in `error`.
[[nodiscard]] int ParseMapText(NetworkModel& model, std::u16string_view text,
                               MapError* error = nullptr);

}  // namespace qv
