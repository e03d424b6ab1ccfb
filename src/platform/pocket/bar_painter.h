#pragma once

#include <functional>

#include "platform/gdi/device_context.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Which side of a shell bar meets the rest of the screen: the navigation bar's bottom, the menu
// bar's top.
enum class BarEdge { Top, Bottom };

// Paints a shell bar: the button face with its edge, then `content` with the font (if any)
// selected and a transparent background, inside the paint of `window`.
void PaintBar(HWND window, BarEdge edge, HFONT font,
              const std::function<void(HDC dc, const RECT& client)>& content);

// The pixels of the edge, from the side it lies on.
inline constexpr int kBarEdgeWidth = 2;

}  // namespace qv
