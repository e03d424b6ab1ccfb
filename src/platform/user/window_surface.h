#pragma once

#include <vector>

#include "platform/gdi/device_context.h"

namespace qv {

// The pixels of one window, the whole window rectangle at the screen's device scale. Painting
// draws here; the screen is composed from these surfaces, so a window never draws over another.
class WindowSurface {
  public:
    WindowSurface();
    ~WindowSurface();
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    // Fresh white pixels of the new size; surfaces lent out draw into them from now on.
    void Resize(int width, int height, int scale);
    // A surface on the pixels with the given origin and clip, until Return takes it back or
    // this surface ends.
    HDC Lend(POINT origin, const RECT& clip);
    // A surface for painting the rectangles (relative to the origin): clipped to their bounds,
    // and what it draws between them is undone when it is returned, as a device context holds
    // one clip rectangle.
    HDC LendForPaint(POINT origin, const std::vector<RECT>& area);
    bool Return(HDC dc);
    // The surface that composition copies from.
    HDC Source() { return &source_; }
    int Scale() const { return scale_; }

  private:
    // The pixels a paint must leave as they were: the parts of its bounds outside the area to
    // paint, in surface coordinates, and a copy of the bounds taken before painting.
    struct Kept {
        RECT bounds{};
        std::vector<RECT> parts;
        UniqueBitmap pixels;
        const Bitmap* under = nullptr;  // the pixels copied; a resize makes the copy useless
    };
    struct Lent {
        UniqueDC dc;
        Kept kept;
    };

    Kept Keep(const RECT& bounds, const std::vector<RECT>& area);
    void Restore(const Kept& kept);

    int scale_ = 1;
    UniqueBitmap bitmap_;  // outlives the surfaces it is selected into
    DeviceContext source_;
    std::vector<Lent> lent_;
};

}  // namespace qv
