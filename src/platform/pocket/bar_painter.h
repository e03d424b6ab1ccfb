#pragma once

#include <functional>

#include "platform/gdi/device_context.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Which side of a shell bar meets the rest of the screen: the navigation bar's bottom, the menu
// bar's top.
enum class BarEdge { Top, Bottom };

// Paints a shell bar on the client area of a paint: the button face with its edge, then
// `content` with the font (if any) selected and a transparent background.
void PaintBar(HDC dc, const RECT& client, BarEdge edge, HFONT font,
              const std::function<void(HDC dc, const RECT& client)>& content);

// The pixels of the edge, from the side it lies on.
inline constexpr int kBarEdgeWidth = 2;

}  // namespace qv
