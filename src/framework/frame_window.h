#pragma once

#include <string_view>

#include "framework/window_binding.h"
#include "framework/window_object.h"

namespace qv {

// Registers the object's class when needed and makes its window, bound to the object before the
// creation messages are handled. A style of 0 makes a visible child that clips its siblings and
// children; a child without an id gets the object's address as its id. Null when the class
// cannot be registered or the window cannot be made.
HWND CreateFrameWindow(WindowObject& object, HWND parent, const RECT& rect,
                       std::u16string_view title, DWORD style, DWORD exStyle, UINT_PTR id,
                       void* parameter);
// Runs the default processing of the message the object is handling; 0 outside one.
LRESULT CallDefaultProcedure(WindowObject& object);

}  // namespace qv
