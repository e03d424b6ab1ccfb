#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "model/scheme_image.h"
#include "platform/gdi/gdi_types.h"

namespace qv {

class SchemeImageSurface;

// How a pen wider than a pixel ends a stroke: with a round cap past each end point, or flat at it.
enum class PenEnds { Round, Flat };

// A circle or ellipse with its own round pen of the width and colour and its own brush.
struct Disc {
    RECT box;
    int penWidth = 1;
    COLORREF pen = 0;
    COLORREF brush = 0;

    bool operator==(const Disc&) const = default;
};

// What the scheme renderer draws with: the platform's drawing operations as the renderer uses
// them, so that a recording surface can stand in for the real one. Pens, brushes and fonts are
// selected for a step and restored afterwards; restoring releases the object made for the step.
class DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    virtual void SelectPen(int width, COLORREF colour, PenEnds ends) = 0;
    virtual void RestorePen() = 0;
    virtual void SelectBrush(COLORREF colour) = 0;
    virtual void RestoreBrush() = 0;
    virtual void SelectFont(const LOGFONTW& attributes) = 0;
    virtual void RestoreFont() = 0;

    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Polyline(std::span<const POINT> points) = 0;
    // The discs in order, each as Ellipse with its pen and brush selected would draw it.
    virtual void Discs(std::span<const Disc> discs) = 0;
    // Copies width x height of the image's top-left corner to (x, y).
    virtual void CopyImage(const SchemeImageSurface& image, int x, int y, int width,
                           int height) = 0;
    // Copies the whole 10 x 10 bitmap resource to the area, scaled.
    virtual void StretchBitmap(int bitmapId, int x, int y, int width, int height) = 0;

    virtual TEXTMETRICW TextMetrics() = 0;
    virtual void SetTextColour(COLORREF colour) = 0;
    virtual void SetBackgroundColour(COLORREF colour) = 0;
    virtual void SetBackgroundMode(int mode) = 0;
    virtual void DrawText(std::u16string_view text, const RECT& rect, UINT format) = 0;

    // An off-screen image of logical width x height compatible with this surface, white.
    virtual std::unique_ptr<SchemeImageSurface> CreateImage(int width, int height) = 0;
};

// The scheme image: a surface to draw into that the model holds while it is valid.
class SchemeImageSurface : public SchemeImage {
  public:
    virtual DrawingSurface& Surface() = 0;
};

// Selects a pen for one step and puts the previous one back when the step ends.
class PenScope {
  public:
    PenScope(DrawingSurface& surface, int width, COLORREF colour, PenEnds ends = PenEnds::Round)
        : surface_(surface) {
        surface_.SelectPen(width, colour, ends);
    }
    ~PenScope() { surface_.RestorePen(); }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

  private:
    DrawingSurface& surface_;
};

class BrushScope {
  public:
    BrushScope(DrawingSurface& surface, COLORREF colour) : surface_(surface) {
        surface_.SelectBrush(colour);
    }
    ~BrushScope() { surface_.RestoreBrush(); }
    BrushScope(const BrushScope&) = delete;
    BrushScope& operator=(const BrushScope&) = delete;

  private:
    DrawingSurface& surface_;
};

class FontScope {
  public:
    FontScope(DrawingSurface& surface, const LOGFONTW& attributes) : surface_(surface) {
        surface_.SelectFont(attributes);
    }
    ~FontScope() { surface_.RestoreFont(); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

  private:
    DrawingSurface& surface_;
};

}  // namespace qv
