#include "platform/controls/popup_menu_placement.h"

#include <algorithm>

namespace qv {

namespace {

enum class Alignment { Start, Centre, End };

// One axis of the placement: the menu's start for a point, flipped to the point's other side
// when it runs off the screen and the other side has room, then kept on the screen.
LONG PlaceAlong(LONG point, LONG length, Alignment alignment, LONG limit) {
    // A point off the screen places the menu as the nearest point on it would.
    const LONG anchor = std::clamp<LONG>(point, 0, limit);
    LONG start = alignment == Alignment::Start    ? anchor
                 : alignment == Alignment::Centre ? anchor - length / 2
                                                  : anchor - length;
    if (alignment == Alignment::Start && start + length > limit && anchor - length >= 0) {
        start = anchor - length;
    } else if (alignment == Alignment::End && start < 0 && anchor + length <= limit) {
        start = anchor;
    }
    return std::max<LONG>(0, std::min(start, limit - length));
}

// Moves the menu's start off [low, high) on one axis when a side has room, the preferred side
// first; false when neither has.
bool AvoidAlong(LONG& start, LONG length, LONG low, LONG high, bool preferBefore, LONG limit) {
    const long long before = static_cast<long long>(low) - length;
    const bool beforeFits = before >= 0;
    const bool afterFits = static_cast<long long>(high) + length <= limit;
    if (beforeFits && (preferBefore || !afterFits)) {
        start = static_cast<LONG>(before);
        return true;
    }
    if (afterFits) {
        start = high;
        return true;
    }
    return false;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

RECT PlacePopupMenu(SIZE size, POINT point, UINT flags, SIZE screen, const RECT* exclude) {
    const Alignment horizontal = (flags & TPM_RIGHTALIGN) != 0    ? Alignment::End
                                 : (flags & TPM_CENTERALIGN) != 0 ? Alignment::Centre
                                                                  : Alignment::Start;
    const Alignment vertical = (flags & TPM_BOTTOMALIGN) != 0    ? Alignment::End
                               : (flags & TPM_VCENTERALIGN) != 0 ? Alignment::Centre
                                                                 : Alignment::Start;
    LONG left = PlaceAlong(point.x, size.cx, horizontal, screen.cx);
    LONG top = PlaceAlong(point.y, size.cy, vertical, screen.cy);
    if (exclude && Overlap({left, top, left + size.cx, top + size.cy}, *exclude)) {
        const bool preferAbove = vertical == Alignment::End;
        const bool preferLeft = horizontal == Alignment::End;
        if ((flags & TPM_VERTICAL) != 0) {
            AvoidAlong(top, size.cy, exclude->top, exclude->bottom, preferAbove, screen.cy) ||
                AvoidAlong(left, size.cx, exclude->left, exclude->right, preferLeft, screen.cx);
        } else {
            AvoidAlong(left, size.cx, exclude->left, exclude->right, preferLeft, screen.cx) ||
                AvoidAlong(top, size.cy, exclude->top, exclude->bottom, preferAbove, screen.cy);
        }
    }
    return {left, top, left + size.cx, top + size.cy};
}

}  // namespace qv
