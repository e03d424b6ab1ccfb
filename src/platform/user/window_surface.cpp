#include "platform/user/window_surface.h"

#include <algorithm>

namespace qv {

WindowSurface::WindowSurface() : source_(1) {}

WindowSurface::~WindowSurface() {
    // Put the default bitmap back everywhere, so that the pixels can go.
    for (const UniqueDC& dc : lent_) {
        SelectObject(dc.get(), DefaultBitmap());
    }
    SelectObject(&source_, DefaultBitmap());
}

void WindowSurface::Resize(int width, int height, int scale) {
    scale_ = scale;
    UniqueBitmap next;
    if (width > 0 && height > 0) {
        next.reset(new Bitmap(width, height, scale));
    }
    const HBITMAP selected = next ? next.get() : DefaultBitmap();
    SelectObject(&source_, selected);
    for (const UniqueDC& dc : lent_) {
        SelectObject(dc.get(), selected);
    }
    bitmap_ = std::move(next);
}

HDC WindowSurface::Lend(POINT origin, const RECT& clip) {
    UniqueDC dc(new DeviceContext(scale_));
    SelectObject(dc.get(), bitmap_ ? bitmap_.get() : DefaultBitmap());
    dc->origin = origin;
    dc->clip = clip;
    lent_.push_back(std::move(dc));
    return lent_.back().get();
}

bool WindowSurface::Return(HDC dc) {
    const auto found = std::find_if(lent_.begin(), lent_.end(),
                                    [&](const UniqueDC& lent) { return lent.get() == dc; });
    if (found == lent_.end()) {
        return false;
    }
    SelectObject(found->get(), DefaultBitmap());
    lent_.erase(found);
    return true;
}

}  // namespace qv
