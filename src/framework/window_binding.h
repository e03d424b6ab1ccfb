#pragma once

#include "framework/framework_object.h"

namespace qv {

// The procedure of the framework's classes: the first message binds the window to the object
// whose creation record it finds, and goes on through BoundWindowMessage. The object is kept in
// the window's user-data slot and the procedure swapped for a fixed one, so that binding needs no
// code generated per window.
LRESULT FirstWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The procedure of a bound window: hands the message to its object's entry procedure.
LRESULT BoundWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
