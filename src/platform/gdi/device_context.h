#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/gdi/gdi_objects.h"

namespace qv {

// A drawing surface: the bitmap drawn into and the pen, brush, font and text colours that
// drawing uses. Coordinates are logical; the surface's origin is added to them and they are
// multiplied by the bitmap's device scale. Drawing is clipped to the bitmap and the clip
// rectangle.
class DeviceContext {
  public:
    explicit DeviceContext(int scale);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    int Scale() const { return bitmap && !bitmap->isStock ? bitmap->Scale() : scale_; }
    // The device pixels drawing may touch; empty without a bitmap.
    RECT DeviceClip() const;
    // Coordinates far beyond any surface are held at a distance where arithmetic stays safe.
    POINT ToDevice(POINT logical) const {
        return {ClampCoordinate((std::int64_t{logical.x} + origin.x) * Scale()),
                ClampCoordinate((std::int64_t{logical.y} + origin.y) * Scale())};
    }
    static LONG ClampCoordinate(std::int64_t value) {
        return static_cast<LONG>(
            std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
    }
    static constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 26;

    Bitmap* bitmap = nullptr;
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backgroundColour = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    POINT origin;              // added to every logical coordinate
    std::optional<RECT> clip;  // logical, in the surface's own coordinates

  private:
    int scale_;
};

using HDC = DeviceContext*;

// A surface of the same device scale as `like` (scale 1 without one), holding the default
// bitmap: it draws nothing until a bitmap is selected into it.
HDC CreateCompatibleDC(HDC like);
BOOL DeleteDC(HDC dc);
// A white bitmap of logical width x height at the surface's device scale.
HBITMAP CreateCompatibleBitmap(HDC like, int width, int height);

// Makes the object current and returns the object of its kind that it replaces.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
inline HPEN SelectObject(HDC dc, HPEN pen) {
    return static_cast<HPEN>(SelectObject(dc, static_cast<HGDIOBJ>(pen)));
}
inline HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return static_cast<HBRUSH>(SelectObject(dc, static_cast<HGDIOBJ>(brush)));
}
inline HFONT SelectObject(HDC dc, HFONT font) {
    return static_cast<HFONT>(SelectObject(dc, static_cast<HGDIOBJ>(font)));
}
inline HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return static_cast<HBITMAP>(SelectObject(dc, static_cast<HGDIOBJ>(bitmap)));
}

COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// Moves the surface's origin; the previous one goes to `previous` when given.
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
// Narrows the clip rectangle to its intersection with the given one.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);

// Selects an object for one drawing step and puts the previous one back when it ends.
class SelectionScope {
  public:
    SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionScope() {
        if (previous_) {
            SelectObject(dc_, previous_);
        }
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

struct DcDeleter {
    void operator()(DeviceContext* dc) const { DeleteDC(dc); }
};
using UniqueDC = std::unique_ptr<DeviceContext, DcDeleter>;

}  // namespace qv
