#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// A cursor shape. The device shows no pointer; the wait cursor is its busy indication.
class Cursor {
  public:
    enum class Shape { Arrow, Wait };

    constexpr explicit Cursor(Shape shape) : shape_(shape) {}
    Shape GetShape() const { return shape_; }
    bool IsWait() const { return shape_ == Shape::Wait; }

  private:
    Shape shape_;
};

// The system's cursors (IDC_ARROW, IDC_WAIT) when no module is given; programs carry none.
HCURSOR LoadCursorW(HINSTANCE module, int id);

}  // namespace qv
