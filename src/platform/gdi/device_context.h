#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/clip_region.h"
#include "platform/gdi/gdi_objects.h"

namespace qv {

// A drawing surface: the bitmap drawn into and the pen, brush, font and text colours that
// drawing uses. Coordinates are logical; the surface's origin is added to them and they are
// multiplied by the bitmap's device scale. Drawing is clipped to the bitmap and the clip
// region. SaveDC keeps the whole state (objects, colours, background mode, origin, clip) on a
// stack that RestoreDC returns to.
class DeviceContext {
  public:
    explicit DeviceContext(int scale);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    int Scale() const { return bitmap && !bitmap->isStock ? bitmap->Scale() : scale_; }
    // The device pixels drawing may touch; empty without a bitmap.
    ClipRegion DeviceClip() const;
    // The bitmap's logical pixels, in the surface's coordinates (the origin not added).
    RECT SurfaceBounds() const;
    // Coordinates far beyond any surface are held at a distance where arithmetic stays safe.
    POINT ToDevice(POINT logical) const {
        return {ClampCoordinate((std::int64_t{logical.x} + origin.x) * Scale()),
                ClampCoordinate((std::int64_t{logical.y} + origin.y) * Scale())};
    }
    // The bitmap's logical pixel under a logical point: the origin added.
    POINT ToSurface(POINT logical) const {
        return {ClampCoordinate(std::int64_t{logical.x} + origin.x),
                ClampCoordinate(std::int64_t{logical.y} + origin.y)};
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
    POINT origin;  // added to every logical coordinate
    // In the surface's logical pixels, the origin not added, so that moving the origin leaves
    // it in place; none means the whole bitmap.
    std::optional<ClipRegion> clip;

    // Pushes the state; returns how many states are saved.
    int Save();
    // Returns to the state saved at `level` (1 the oldest), dropping it and every later one.
    bool Restore(int level);
    int SavedLevels() const { return static_cast<int>(saved_.size()); }
    // The current and every saved state that draw into `from` draw into `to` from now on.
    void ReplaceBitmap(const Bitmap* from, Bitmap* to);

  private:
    struct State {
        Bitmap* bitmap;
        Pen* pen;
        Brush* brush;
        Font* font;
        COLORREF textColour;
        COLORREF backgroundColour;
        int backgroundMode;
        POINT origin;
        std::optional<ClipRegion> clip;
    };
    void Release(const State& state);

    int scale_;
    std::vector<State> saved_;  // each holds its objects, so that none is deleted under it
};

using HDC = DeviceContext*;

// A surface of the same device scale as `like` (scale 1 without one), holding the default
// bitmap: it draws nothing until a bitmap is selected into it.
HDC CreateCompatibleDC(HDC like);
BOOL DeleteDC(HDC dc);
// A white bitmap of logical width x height at the surface's device scale; null for an empty size,
// a side past Bitmap::kMaxDeviceSide device pixels or memory that cannot be had.
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
// Narrows the clip to its intersection with the rectangle. Both return the kind of the clip left
// (NULLREGION, SIMPLEREGION, COMPLEXREGION), ERROR without a surface.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// Takes the rectangle out of the clip (out of the whole bitmap when there is no clip).
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
// The bounds of what drawing may touch (the clip within the bitmap), in logical coordinates, and
// its kind; ERROR without a surface.
int GetClipBox(HDC dc, RECT* box);
// Saves the surface's state; returns its level (1 for the first), 0 on failure.
int SaveDC(HDC dc);
// Returns to a saved state and drops it with every state saved after it: `level` > 0 names the
// state SaveDC returned that level for, -1 the last saved, -2 the one before. A level that names
// no saved state fails and changes nothing.
BOOL RestoreDC(HDC dc, int level);

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
