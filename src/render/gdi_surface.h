#pragma once

#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/resource_module.h"
#include "render/drawing_surface.h"

namespace qv {

// The drawing surface over a platform surface.
class GdiSurface : public DrawingSurface {
  public:
    // `module` supplies the bitmap resources.
    GdiSurface(HDC dc, HINSTANCE module) : dc_(dc), module_(module) {}
    ~GdiSurface() override;

    HDC Dc() const { return dc_; }

    void SelectPen(int width, COLORREF colour, PenEnds ends) override;
    void RestorePen() override;
    void SelectBrush(COLORREF colour) override;
    void RestoreBrush() override;
    void SelectFont(const LOGFONTW& attributes) override;
    void RestoreFont() override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Polyline(std::span<const POINT> points) override;
    void Discs(std::span<const Disc> discs) override;
    void CopyImage(const SchemeImageSurface& image, int x, int y, int width, int height) override;
    void StretchBitmap(int bitmapId, int x, int y, int width, int height) override;
    TEXTMETRICW TextMetrics() override;
    void SetTextColour(COLORREF colour) override;
    void SetBackgroundColour(COLORREF colour) override;
    void SetBackgroundMode(int mode) override;
    void DrawText(std::u16string_view text, const RECT& rect, UINT format) override;
    std::unique_ptr<SchemeImageSurface> CreateImage(int width, int height) override;

  private:
    // An object made for a step and the one it replaced.
    struct Selection {
        HGDIOBJ made;
        HGDIOBJ previous;
    };
    void Select(std::vector<Selection>& stack, HGDIOBJ made);
    void Restore(std::vector<Selection>& stack);

    HDC dc_;
    HINSTANCE module_;
    std::vector<Selection> pens_;
    std::vector<Selection> brushes_;
    std::vector<Selection> fonts_;
};

// The scheme image on a platform bitmap.
class GdiSchemeImage : public SchemeImageSurface {
  public:
    GdiSchemeImage(HDC like, int width, int height, int deviceScale, HINSTANCE module);
    ~GdiSchemeImage() override;

    DrawingSurface& Surface() override { return surface_; }
    HDC Dc() const { return dc_.get(); }

  private:
    UniqueBitmap bitmap_;  // outlives the surface it is selected into
    UniqueDC dc_;
    HBITMAP previous_;
    GdiSurface surface_;
};

}  // namespace qv
