#include "platform/user/records/window_surface.h"

#include <algorithm>

namespace qv {

WindowSurface::WindowSurface() : source_(1) {}

void WindowSurface::Resize(int width, int height, int scale) {
    scale_ = scale;
    UniqueBitmap next;
    if (width > 0 && height > 0) {
        next.reset(new Bitmap(width, height, scale));
    }
    const HBITMAP previous = bitmap_ ? bitmap_.get() : DefaultBitmap();
    const HBITMAP selected = next ? next.get() : DefaultBitmap();
    source_.ReplaceBitmap(previous, selected);
    for (const UniqueDC& dc : lent_) {
        dc->ReplaceBitmap(previous, selected);
    }
    bitmap_ = std::move(next);
}

HDC WindowSurface::Lend(POINT origin, const ClipRegion& clip) {
    UniqueDC dc(new DeviceContext(scale_));
    SelectObject(dc.get(), bitmap_ ? bitmap_.get() : DefaultBitmap());
    dc->origin = origin;
    dc->clip = clip.Transformed(origin.x, origin.y, 1, DeviceContext::kCoordinateLimit);
    lent_.push_back(std::move(dc));
    return lent_.back().get();
}

HDC WindowSurface::LendForPaint(POINT origin, const std::vector<RECT>& area) {
    ClipRegion clip;
    for (const RECT& each : area) {
        clip.Add(each);
    }
    return Lend(origin, clip);
}

bool WindowSurface::Return(HDC dc) {
    const auto found = std::find_if(lent_.begin(), lent_.end(),
                                    [&](const UniqueDC& lent) { return lent.get() == dc; });
    if (found == lent_.end()) {
        return false;
    }
    lent_.erase(found);
    return true;
}

}  // namespace qv
