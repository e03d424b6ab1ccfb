#include "platform/controls/button_press.h"

#include "platform/gdi/rectangle_math.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/window_functions.h"

namespace qv {

bool ButtonPress::Inside(HWND button, POINT position) const {
    RECT area{};
    if (area_) {
        area = *area_;
    } else {
        GetClientRect(button, &area);
    }
    return rect::Contains(area, position);
}

ButtonPress::Result ButtonPress::Look(bool pressed) {
    const bool changed = pressed_ != pressed;
    pressed_ = pressed;
    return {changed, false};
}

ButtonPress::Result ButtonPress::PenDown(HWND button, std::optional<RECT> area) {
    source_ = Source::Pen;
    area_ = area;
    SetCapture(button);
    return Look(true);
}

ButtonPress::Result ButtonPress::PenMove(HWND button, POINT position) {
    if (source_ != Source::Pen) {
        return {};
    }
    return Look(Inside(button, position));
}

ButtonPress::Result ButtonPress::PenUp(HWND button, POINT position) {
    if (source_ != Source::Pen) {
        return {};
    }
    const bool click = Inside(button, position);
    // The press ends before the capture goes, so the capture's loss finds nothing to cancel.
    source_ = Source::None;
    Result result = Look(false);
    if (GetCapture() == button) {
        ReleaseCapture();
    }
    result.click = click;
    return result;
}

ButtonPress::Result ButtonPress::KeyDown(int virtualKey) {
    if (virtualKey != VK_SPACE || source_ != Source::None) {
        return {};
    }
    source_ = Source::Key;
    return Look(true);
}

ButtonPress::Result ButtonPress::KeyUp(int virtualKey) {
    if (virtualKey != VK_SPACE || source_ != Source::Key) {
        return {};
    }
    source_ = Source::None;
    Result result = Look(false);
    result.click = true;
    return result;
}

ButtonPress::Result ButtonPress::Cancel(HWND button) {
    if (source_ == Source::None) {
        return {};
    }
    const bool heldByPen = source_ == Source::Pen;
    source_ = Source::None;
    const Result result = Look(false);
    if (heldByPen && GetCapture() == button) {
        ReleaseCapture();
    }
    return result;
}

ButtonPress::Result ButtonPress::Show(bool pressed) {
    return Look(pressed);
}

}  // namespace qv
