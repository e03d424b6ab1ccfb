#pragma once

#include "platform/gdi/device_context.h"
#include "platform/user/records/user_types.h"

namespace qv {

class Window;

// Puts the windows on the screen: each window's surface, frame included, over its parent's
// client area and over the siblings below it. The frames were painted into the surfaces by the
// windows themselves (WM_NCPAINT).
class Compositor {
  public:
    void Compose(Window& desktop, HDC screen);

  private:
    void ComposeTree(Window& window, HDC screen, const RECT& clip);
};

}  // namespace qv
