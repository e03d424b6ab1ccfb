#pragma once

#include <string_view>

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

// The procedure of the framework's classes: the first message binds the window to the object
// whose creation record it finds, and goes on through BoundWindowMessage.
LRESULT FirstWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The procedure of a bound window: hands the message to its object's entry procedure.
LRESULT BoundWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The entry procedure of window objects.
LRESULT WindowMessageProcedure(FrameworkObject& object, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
