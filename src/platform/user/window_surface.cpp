#include "platform/user/window_surface.h"

#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/user/rectangle_math.h"

namespace qv {

WindowSurface::WindowSurface() : source_(1) {}

WindowSurface::~WindowSurface() {
    // Put the default bitmap back everywhere, so that the pixels can go.
    for (const Lent& lent : lent_) {
        SelectObject(lent.dc.get(), DefaultBitmap());
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
    for (const Lent& lent : lent_) {
        SelectObject(lent.dc.get(), selected);
    }
    bitmap_ = std::move(next);
}

HDC WindowSurface::Lend(POINT origin, const RECT& clip) {
    UniqueDC dc(new DeviceContext(scale_));
    SelectObject(dc.get(), bitmap_ ? bitmap_.get() : DefaultBitmap());
    dc->origin = origin;
    dc->clip = clip;
    lent_.push_back({std::move(dc), {}});
    return lent_.back().dc.get();
}

HDC WindowSurface::LendForPaint(POINT origin, const std::vector<RECT>& area) {
    RECT bounds{};
    for (const RECT& each : area) {
        bounds = rect::Bounds(bounds, each);
    }
    const HDC dc = Lend(origin, bounds);
    std::vector<RECT> inSurface;
    for (const RECT& each : area) {
        inSurface.push_back(rect::Offset(each, origin.x, origin.y));
    }
    lent_.back().kept = Keep(rect::Offset(bounds, origin.x, origin.y), inSurface);
    return dc;
}

bool WindowSurface::Return(HDC dc) {
    const auto found = std::find_if(lent_.begin(), lent_.end(),
                                    [&](const Lent& lent) { return lent.dc.get() == dc; });
    if (found == lent_.end()) {
        return false;
    }
    Restore(found->kept);
    SelectObject(found->dc.get(), DefaultBitmap());
    lent_.erase(found);
    return true;
}

WindowSurface::Kept WindowSurface::Keep(const RECT& bounds, const std::vector<RECT>& area) {
    Kept kept;
    kept.parts.push_back(bounds);
    for (const RECT& each : area) {
        std::vector<RECT> left;
        for (const RECT& part : kept.parts) {
            rect::Subtract(part, each, left);
        }
        kept.parts = std::move(left);
    }
    if (kept.parts.empty() || !bitmap_) {
        return {};
    }
    kept.bounds = bounds;
    kept.under = bitmap_.get();
    kept.pixels.reset(
        new Bitmap(bounds.right - bounds.left, bounds.bottom - bounds.top, bitmap_->Scale()));
    DeviceContext from(scale_);
    SelectObject(&from, bitmap_.get());
    DeviceContext to(scale_);
    SelectObject(&to, kept.pixels.get());
    BitBlt(&to, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, &from, bounds.left,
           bounds.top, SRCCOPY);
    SelectObject(&from, DefaultBitmap());
    SelectObject(&to, DefaultBitmap());
    return kept;
}

void WindowSurface::Restore(const Kept& kept) {
    if (!kept.pixels || kept.under != bitmap_.get()) {
        return;
    }
    DeviceContext from(scale_);
    SelectObject(&from, kept.pixels.get());
    DeviceContext to(scale_);
    SelectObject(&to, bitmap_.get());
    for (const RECT& part : kept.parts) {
        to.clip = part;
        BitBlt(&to, kept.bounds.left, kept.bounds.top, kept.bounds.right - kept.bounds.left,
               kept.bounds.bottom - kept.bounds.top, &from, 0, 0, SRCCOPY);
    }
    SelectObject(&from, DefaultBitmap());
    SelectObject(&to, DefaultBitmap());
}

}  // namespace qv
