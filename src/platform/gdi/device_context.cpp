#include "platform/gdi/device_context.h"

#include <algorithm>
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
    Drop(pen);
    Drop(brush);
    Drop(font);
    Drop(bitmap);
}

RECT DeviceContext::DeviceClip() const {
    if (!bitmap || bitmap->isStock) {
        return {};
    }
    RECT area{0, 0, bitmap->DeviceWidth(), bitmap->DeviceHeight()};
    if (clip) {
        const POINT topLeft = ToDevice({clip->left, clip->top});
        const POINT bottomRight = ToDevice({clip->right, clip->bottom});
        area.left = std::max(area.left, topLeft.x);
        area.top = std::max(area.top, topLeft.y);
        area.right = std::min(area.right, bottomRight.x);
        area.bottom = std::min(area.bottom, bottomRight.y);
    }
    if (area.right < area.left) {
        area.right = area.left;
    }
    if (area.bottom < area.top) {
        area.bottom = area.top;
    }
    return area;
}

HDC CreateCompatibleDC(HDC like) {
    return new DeviceContext(like ? like->Scale() : 1);
}

BOOL DeleteDC(HDC dc) {
    delete dc;
    return dc ? 1 : 0;
}

HBITMAP CreateCompatibleBitmap(HDC like, int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return new Bitmap(width, height, like ? like->Scale() : 1);
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

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    RECT wanted{left, top, right, bottom};
    if (dc->clip) {
        wanted.left = std::max(wanted.left, dc->clip->left);
        wanted.top = std::max(wanted.top, dc->clip->top);
        wanted.right = std::min(wanted.right, dc->clip->right);
        wanted.bottom = std::min(wanted.bottom, dc->clip->bottom);
    }
    dc->clip = wanted;
    return wanted.right > wanted.left && wanted.bottom > wanted.top
               ? 2
               : 1;  // SIMPLEREGION : NULLREGION
}

}  // namespace qv
