#include "platform/controls/edit_buffer.h"

#include <algorithm>

namespace qv {

void EditBuffer::SetText(std::u16string_view text) {
    text_ = text;
    caret_ = anchor_ = 0;
}

void EditBuffer::SetLimit(std::size_t limit) {
    limit_ = limit == 0 ? kLargestLimit : std::min(limit, kLargestLimit);
}

void EditBuffer::Select(long start, long end) {
    const long length = static_cast<long>(text_.size());
    if (start < 0) {
        anchor_ = caret_;
        return;
    }
    const long to = end < 0 ? length : std::min(end, length);
    anchor_ = static_cast<std::size_t>(std::min(start, length));
    caret_ = static_cast<std::size_t>(to);
}

void EditBuffer::PlaceCaret(std::size_t position, Extend extend) {
    caret_ = std::min(position, text_.size());
    if (extend == Extend::No) {
        anchor_ = caret_;
    }
}

void EditBuffer::MoveCaret(Move move, Extend extend) {
    std::size_t target = caret_;
    switch (move) {
        case Move::Left:
            // Without Shift an arrow first collapses a selection to the side it points to.
            if (extend == Extend::No && HasSelection()) {
                target = SelectionStart();
            } else if (target > 0) {
                --target;
            }
            break;
        case Move::Right:
            if (extend == Extend::No && HasSelection()) {
                target = SelectionEnd();
            } else if (target < text_.size()) {
                ++target;
            }
            break;
        case Move::Home:
            target = 0;
            break;
        case Move::End:
            target = text_.size();
            break;
    }
    PlaceCaret(target, extend);
}

void EditBuffer::EraseSelection() {
    const std::size_t start = SelectionStart();
    text_.erase(start, SelectionEnd() - start);
    caret_ = anchor_ = start;
}

EditBuffer::Typing EditBuffer::Type(std::u16string_view typed) {
    if (digitsOnly_ && !std::all_of(typed.begin(), typed.end(),
                                    [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
        return Typing::NotAllowed;
    }
    return Replace(typed);
}

EditBuffer::Typing EditBuffer::Replace(std::u16string_view replacement) {
    const std::size_t kept = text_.size() - (SelectionEnd() - SelectionStart());
    const std::size_t room = kept < limit_ ? limit_ - kept : 0;
    if (room == 0 && !replacement.empty()) {
        return Typing::Full;
    }
    const std::u16string_view fitting = replacement.substr(0, std::min(room, replacement.size()));
    EraseSelection();
    text_.insert(caret_, fitting);
    caret_ = anchor_ = caret_ + fitting.size();
    return fitting.size() < replacement.size() ? Typing::Cut : Typing::Accepted;
}

bool EditBuffer::DeleteBackward() {
    if (HasSelection()) {
        EraseSelection();
        return true;
    }
    if (caret_ == 0) {
        return false;
    }
    text_.erase(caret_ - 1, 1);
    caret_ = anchor_ = caret_ - 1;
    return true;
}

bool EditBuffer::DeleteForward() {
    if (HasSelection()) {
        EraseSelection();
        return true;
    }
    if (caret_ >= text_.size()) {
        return false;
    }
    text_.erase(caret_, 1);
    return true;
}

}  // namespace qv
