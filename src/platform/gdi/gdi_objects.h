#pragma once

// Drawing objects (pens, brushes, fonts, bitmaps) behind typed handles. A handle is a pointer
// to its object; Create* makes an object, DeleteObject releases it, and the Unique* wrappers do
// so by RAII. Stock objects are shared and never released.

#include <cairo.h>

#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace qv {

class FontRenderer;

class GdiObject {
  public:
    enum class Kind { Pen, Brush, Font, Bitmap };

    virtual ~GdiObject() = default;
    virtual Kind ObjectKind() const = 0;

    bool isStock = false;
    int selections = 0;  // how many surfaces have it selected; such an object is not deleted
};

class Pen final : public GdiObject {
  public:
    Pen(int penStyle, int penWidth, COLORREF penColour, bool isNull = false)
        : style(penStyle), width(penWidth), colour(penColour), null(isNull) {}
    Kind ObjectKind() const override { return Kind::Pen; }

    int style;
    int width;
    COLORREF colour;
    bool null;
};

class Brush final : public GdiObject {
  public:
    explicit Brush(COLORREF brushColour, bool isNull = false) : colour(brushColour), null(isNull) {}
    Kind ObjectKind() const override { return Kind::Brush; }

    COLORREF colour;
    bool null;
};

class Font final : public GdiObject {
  public:
    explicit Font(const LOGFONTW& attributes);
    ~Font() override;
    Kind ObjectKind() const override { return Kind::Font; }

    const LOGFONTW& Attributes() const { return attributes_; }
    // Glyph rendering and measuring at a device scale; made on first use.
    const FontRenderer& Renderer(int scale) const;

  private:
    LOGFONTW attributes_;
    mutable std::vector<std::unique_ptr<FontRenderer>> renderers_;  // index: scale - 1
};

// Pixels of a surface: logical width x height, stored at `scale` device pixels per logical
// pixel in each direction.
class Bitmap final : public GdiObject {
  public:
    // Cairo's image surfaces end here; a larger side is cut to it.
    static constexpr int kMaxDeviceSide = 32767;

    // A white bitmap of the size, each side cut so that its device pixels stay within
    // kMaxDeviceSide; empty (0 x 0) when the memory for its pixels cannot be had.
    Bitmap(int logicalWidth, int logicalHeight, int deviceScale);
    ~Bitmap() override;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    Kind ObjectKind() const override { return Kind::Bitmap; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }
    int DeviceWidth() const { return width_ * scale_; }
    int DeviceHeight() const { return height_ * scale_; }

    // Device pixels as 0x00RRGGBB words. Callers of Row bracket their writes with BeginPixels
    // and EndPixels so that Cairo sees them.
    std::uint32_t* Row(int deviceY);
    const std::uint32_t* Row(int deviceY) const;
    void BeginPixels() { Flush(); }
    void EndPixels();
    // Finishes Cairo's pending drawing, so that the pixels can be read.
    void Flush() const;
    COLORREF GetPixel(int deviceX, int deviceY) const;

    cairo_surface_t* Surface() const { return surface_; }
    bool WritePng(const char* path) const;

  private:
    int width_;
    int height_;
    int scale_;
    cairo_surface_t* surface_;
};

using HGDIOBJ = GdiObject*;
using HPEN = Pen*;
using HBRUSH = Brush*;
using HFONT = Font*;
using HBITMAP = Bitmap*;

HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
HFONT CreateFontIndirectW(const LOGFONTW* attributes);
HGDIOBJ GetStockObject(int which);
// The 1 x 1 bitmap a new memory surface holds until a bitmap is selected; nothing drawn shows.
HBITMAP DefaultBitmap();
// Fails (FALSE) while the object is selected into a surface; stock objects stay.
BOOL DeleteObject(HGDIOBJ object);
// A font's attributes: copies min(size, sizeof(LOGFONTW)) bytes; returns the bytes copied.
int GetObjectW(HGDIOBJ object, int size, void* buffer);

// The colours of a pixel word and back.
constexpr std::uint32_t PixelOf(COLORREF c) {
    return (std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}
constexpr COLORREF ColourOf(std::uint32_t pixel) {
    return RGB(static_cast<BYTE>(pixel >> 16), static_cast<BYTE>(pixel >> 8),
               static_cast<BYTE>(pixel));
}

template <typename T>
struct GdiObjectDeleter {
    void operator()(T* object) const { DeleteObject(object); }
};
using UniquePen = std::unique_ptr<Pen, GdiObjectDeleter<Pen>>;
using UniqueBrush = std::unique_ptr<Brush, GdiObjectDeleter<Brush>>;
using UniqueFont = std::unique_ptr<Font, GdiObjectDeleter<Font>>;
using UniqueBitmap = std::unique_ptr<Bitmap, GdiObjectDeleter<Bitmap>>;

}  // namespace qv
