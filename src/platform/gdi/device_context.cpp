#include "platform/gdi/device_context.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/gdi/font_renderer.h"

namespace qv {

namespace {

void Hold(GdiObject* object) {
    if (object) {
        ++object->selections;
    }
}

void Drop(GdiObject* object) {
    if (object) {
        --object->selections;
    }
}

template <typename T>
HGDIOBJ Swap(T*& slot, GdiObject* object) {
    T* previous = slot;
    slot = static_cast<T*>(object);
    Hold(slot);
    Drop(previous);
    return previous;
}

}  // namespace

DeviceContext::DeviceContext(int scale) : scale_(std::clamp(scale, 1, 8)) {
    pen = static_cast<Pen*>(GetStockObject(BLACK_PEN));
    brush = static_cast<Brush*>(GetStockObject(WHITE_BRUSH));
    font = static_cast<Font*>(GetStockObject(SYSTEM_FONT));
    bitmap = DefaultBitmap();
    Hold(bitmap);
    Hold(pen);
    Hold(brush);
    Hold(font);
}

DeviceContext::~DeviceContext() {
    while (!saved_.empty()) {
        Release(saved_.back());
        saved_.pop_back();
    }
    Drop(pen);
    Drop(brush);
    Drop(font);
    Drop(bitmap);
}

RECT DeviceContext::SurfaceBounds() const {
    return bitmap ? RECT{0, 0, bitmap->Width(), bitmap->Height()} : RECT{};
}

ClipRegion DeviceContext::DeviceClip() const {
    if (!bitmap || bitmap->isStock) {
        return {};
    }
    const RECT whole{0, 0, bitmap->DeviceWidth(), bitmap->DeviceHeight()};
    if (!clip) {
        return whole;
    }
    ClipRegion device = clip->Transformed(0, 0, Scale(), kCoordinateLimit);
    device.Intersect(whole);
    return device;
}

int DeviceContext::Save() {
    for (GdiObject* object : {static_cast<GdiObject*>(bitmap), static_cast<GdiObject*>(pen),
                              static_cast<GdiObject*>(brush), static_cast<GdiObject*>(font)}) {
        Hold(object);
    }
    saved_.push_back(
        {bitmap, pen, brush, font, textColour, backgroundColour, backgroundMode, origin, clip});
    return SavedLevels();
}

bool DeviceContext::Restore(int level) {
    if (level < 1 || level > SavedLevels()) {
        return false;
    }
    while (SavedLevels() > level) {
        Release(saved_.back());
        saved_.pop_back();
    }
    State state = std::move(saved_.back());
    saved_.pop_back();
    Swap(bitmap, state.bitmap);
    Swap(pen, state.pen);
    Swap(brush, state.brush);
    Swap(font, state.font);
    textColour = state.textColour;
    backgroundColour = state.backgroundColour;
    backgroundMode = state.backgroundMode;
    origin = state.origin;
    clip = std::move(state.clip);
    // The state's own holds end now that the surface holds its objects again.
    Release(state);
    return true;
}

void DeviceContext::ReplaceBitmap(const Bitmap* from, Bitmap* to) {
    if (bitmap == from) {
        Swap(bitmap, to);
    }
    for (State& state : saved_) {
        if (state.bitmap == from) {
            Hold(to);
            Drop(state.bitmap);
            state.bitmap = to;
        }
    }
}

void DeviceContext::Release(const State& state) {
    Drop(state.bitmap);
    Drop(state.pen);
    Drop(state.brush);
    Drop(state.font);
}

HDC CreateCompatibleDC(HDC like) {
    return new DeviceContext(like ? like->Scale() : 1);
}

BOOL DeleteDC(HDC dc) {
    delete dc;
    return dc ? 1 : 0;
}

HBITMAP CreateCompatibleBitmap(HDC like, int width, int height) {
    const int scale = like ? like->Scale() : 1;
    if (width <= 0 || height <= 0 || width > Bitmap::kMaxDeviceSide / scale ||
        height > Bitmap::kMaxDeviceSide / scale) {
        return nullptr;
    }
    auto bitmap = std::make_unique<Bitmap>(width, height, scale);
    return bitmap->Width() == width ? bitmap.release() : nullptr;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || !object) {
        return nullptr;
    }
    switch (object->ObjectKind()) {
        case GdiObject::Kind::Pen:
            return Swap(dc->pen, object);
        case GdiObject::Kind::Brush:
            return Swap(dc->brush, object);
        case GdiObject::Kind::Font:
            return Swap(dc->font, object);
        case GdiObject::Kind::Bitmap:
            return Swap(dc->bitmap, object);
    }
    return nullptr;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    return std::exchange(dc->textColour, colour);
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    return std::exchange(dc->backgroundColour, colour);
}

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return std::exchange(dc->backgroundMode, mode);
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    if (!dc || !metrics || !dc->font) {
        return 0;
    }
    // Metrics are logical: the same whatever the device scale.
    *metrics = dc->font->Renderer(1).Metrics();
    return 1;
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
    if (previous) {
        *previous = dc->origin;
    }
    dc->origin = {x, y};
    return 1;
}

namespace {

// Changes the clip (the whole surface when there was none) by a logical rectangle.
int ChangeClip(HDC dc, const RECT& logical, void (ClipRegion::*change)(const RECT&)) {
    if (!dc) {
        return ERROR;
    }
    const POINT topLeft = dc->ToSurface({logical.left, logical.top});
    const POINT bottomRight = dc->ToSurface({logical.right, logical.bottom});
    if (!dc->clip) {
        dc->clip = ClipRegion(dc->SurfaceBounds());
    }
    ((*dc->clip).*change)({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
    return dc->clip->Kind();
}

}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ChangeClip(dc, {left, top, right, bottom}, &ClipRegion::Intersect);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ChangeClip(dc, {left, top, right, bottom}, &ClipRegion::Exclude);
}

int GetClipBox(HDC dc, RECT* box) {
    if (!dc || !box) {
        return ERROR;
    }
    ClipRegion visible = dc->clip.value_or(ClipRegion(dc->SurfaceBounds()));
    visible.Intersect(dc->SurfaceBounds());
    const RECT bounds = visible.Bounds();
    *box = visible.Empty() ? RECT{}
                           : RECT{bounds.left - dc->origin.x, bounds.top - dc->origin.y,
                                  bounds.right - dc->origin.x, bounds.bottom - dc->origin.y};
    return visible.Kind();
}

int SaveDC(HDC dc) {
    return dc ? dc->Save() : 0;
}

BOOL RestoreDC(HDC dc, int level) {
    if (!dc) {
        return 0;
    }
    const int absolute = level < 0 ? dc->SavedLevels() + 1 + level : level;
    return dc->Restore(absolute) ? 1 : 0;
}

}  // namespace qv
