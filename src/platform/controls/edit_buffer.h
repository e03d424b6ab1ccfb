#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The text of a single-line edit with its caret and selection, and the rules of what typing may
// put in it. Positions are between characters, from 0 to the text's length; the selection runs
// from the anchor to the caret, either way round.
class EditBuffer {
  public:
    enum class Move { Left, Right, Home, End };
    enum class Extend { No, Yes };
    enum class Typing { Accepted, NotAllowed, Full, Cut };

    static constexpr std::size_t kDefaultLimit = 30000;
    static constexpr std::size_t kLargestLimit = 0x7FFFFFFE;

    const std::u16string& Text() const { return text_; }
    std::size_t Caret() const { return caret_; }
    std::size_t SelectionStart() const { return std::min(anchor_, caret_); }
    std::size_t SelectionEnd() const { return std::max(anchor_, caret_); }
    bool HasSelection() const { return anchor_ != caret_; }
    std::size_t Limit() const { return limit_; }

    // Replaces the whole text, whatever the limit; the caret goes to the start.
    void SetText(std::u16string_view text);
    // 0, or more than the largest limit, makes the limit the largest there is.
    void SetLimit(std::size_t limit);
    void SetDigitsOnly(bool digitsOnly) { digitsOnly_ = digitsOnly; }
    // As EM_SETSEL: a negative start takes the selection away and leaves the caret; a negative
    // end is the text's end; the caret goes to the end given.
    void Select(long start, long end);
    void MoveCaret(Move move, Extend extend);
    // Puts the caret at a position (held to the text), keeping the anchor when extending.
    void PlaceCaret(std::size_t position, Extend extend);

    // What the user types replaces the selection. NotAllowed: a character other than a digit
    // in a digits-only edit; Full: no room at all; both change nothing. Cut: only the part
    // that fits went in.
    Typing Type(std::u16string_view typed);
    // As EM_REPLACESEL: the limit holds, digits-only does not.
    Typing Replace(std::u16string_view replacement);
    // The selection, or else the character before (Backspace) or after (Delete) the caret;
    // false when there was nothing to delete.
    bool DeleteBackward();
    bool DeleteForward();

  private:
    void EraseSelection();

    std::u16string text_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    std::size_t limit_ = kDefaultLimit;
    bool digitsOnly_ = false;
};

}  // namespace qv
