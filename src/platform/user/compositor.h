#pragma once

#include "platform/gdi/device_context.h"
#include "platform/user/user_types.h"

namespace qv {

class Window;

// Puts the windows on the screen: each window's surface over its parent's client area and
// over the siblings below it, the frames and caption bars drawn by the system.
class Compositor {
  public:
    Compositor();

    void Compose(Window& desktop, HDC screen, HWND active);

  private:
    void ComposeTree(Window& window, HDC screen, const RECT& clip, HWND active);
    void DrawFrame(Window& window, bool active);

    UniqueFont captionFont_;
};

}  // namespace qv
