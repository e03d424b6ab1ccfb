#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Adds the rectangle (the whole client area when null) to what the window must paint; with
// `erase` its background is erased first. A null window means every window. The window's
// children are invalidated with it unless it clips them (WS_CLIPCHILDREN).
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// Paints the window now when it has something to paint.
BOOL UpdateWindow(HWND window);
// Whether the window has something to paint, and its bounds.
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
// A surface whose origin is the client area's top left and whose clip is the area to paint;
// the area is then valid. The background is erased first when that was asked for.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A surface on the client area, for drawing outside painting.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// A brush of a system colour, shared and never released.
HBRUSH GetSysColorBrush(int index);

}  // namespace qv
