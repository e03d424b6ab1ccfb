#include "platform/gdi/gdi_objects.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/font_renderer.h"

namespace qv {

namespace {

constexpr std::uint32_t kWhitePixel = 0x00FFFFFF;

GdiObject* MakeStock(std::unique_ptr<GdiObject> object) {
    object->isStock = true;
    return object.release();  // stock objects live as long as the program
}

}  // namespace

Font::Font(const LOGFONTW& attributes) : attributes_(attributes) {}

Font::~Font() = default;

const FontRenderer& Font::Renderer(int scale) const {
    const auto slot = static_cast<std::size_t>(std::max(scale, 1) - 1);
    if (renderers_.size() <= slot) {
        renderers_.resize(slot + 1);
    }
    if (!renderers_[slot]) {
        renderers_[slot] = std::make_unique<FontRenderer>(attributes_, std::max(scale, 1));
    }
    return *renderers_[slot];
}

Bitmap::Bitmap(int logicalWidth, int logicalHeight, int deviceScale)
    : scale_(std::clamp(deviceScale, 1, 8)) {
    width_ = std::clamp(logicalWidth, 0, kMaxDeviceSide / scale_);
    height_ = std::clamp(logicalHeight, 0, kMaxDeviceSide / scale_);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, DeviceWidth(), DeviceHeight());
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        width_ = 0;
        height_ = 0;
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 0, 0);
    }
    // A new bitmap is white, as a new window or image is before anything is drawn.
    BeginPixels();
    for (int y = 0; y < DeviceHeight(); ++y) {
        std::fill_n(Row(y), DeviceWidth(), kWhitePixel);
    }
    EndPixels();
}

Bitmap::~Bitmap() {
    cairo_surface_destroy(surface_);
}

std::uint32_t* Bitmap::Row(int deviceY) {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_) +
                                            static_cast<std::ptrdiff_t>(deviceY) *
                                                cairo_image_surface_get_stride(surface_));
}

const std::uint32_t* Bitmap::Row(int deviceY) const {
    return const_cast<Bitmap*>(this)->Row(deviceY);
}

void Bitmap::Flush() const {
    cairo_surface_flush(surface_);
}

void Bitmap::EndPixels() {
    cairo_surface_mark_dirty(surface_);
}

COLORREF Bitmap::GetPixel(int deviceX, int deviceY) const {
    if (deviceX < 0 || deviceY < 0 || deviceX >= DeviceWidth() || deviceY >= DeviceHeight()) {
        return 0xFFFFFFFF;  // CLR_INVALID
    }
    Flush();
    return ColourOf(Row(deviceY)[deviceX]);
}

bool Bitmap::WritePng(const char* path) const {
    return cairo_surface_write_to_png(surface_, path) == CAIRO_STATUS_SUCCESS;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    return new Pen(style, width, colour);
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    return new Brush(colour);
}

HFONT CreateFontIndirectW(const LOGFONTW* attributes) {
    return attributes ? new Font(*attributes) : nullptr;
}

HGDIOBJ GetStockObject(int which) {
    static GdiObject* const stock[] = {
        MakeStock(std::make_unique<Brush>(RGB(255, 255, 255))),
        MakeStock(std::make_unique<Brush>(RGB(192, 192, 192))),
        MakeStock(std::make_unique<Brush>(RGB(128, 128, 128))),
        MakeStock(std::make_unique<Brush>(RGB(64, 64, 64))),
        MakeStock(std::make_unique<Brush>(RGB(0, 0, 0))),
        MakeStock(std::make_unique<Brush>(0, true)),
        MakeStock(std::make_unique<Pen>(PS_SOLID, 1, RGB(255, 255, 255))),
        MakeStock(std::make_unique<Pen>(PS_SOLID, 1, RGB(0, 0, 0))),
        MakeStock(std::make_unique<Pen>(PS_SOLID, 1, 0, true)),
    };
    static GdiObject* const systemFont = MakeStock(std::make_unique<Font>(LOGFONTW{}));
    if (which == SYSTEM_FONT) {
        return systemFont;
    }
    return which >= 0 && which < static_cast<int>(std::size(stock)) ? stock[which] : nullptr;
}

HBITMAP DefaultBitmap() {
    static HBITMAP const bitmap =
        static_cast<HBITMAP>(MakeStock(std::make_unique<Bitmap>(1, 1, 1)));
    return bitmap;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object) {
        return 0;
    }
    if (object->isStock) {
        return 1;
    }
    if (object->selections > 0) {
        return 0;
    }
    delete object;
    return 1;
}

int GetObjectW(HGDIOBJ object, int size, void* buffer) {
    if (!object || object->ObjectKind() != GdiObject::Kind::Font || size <= 0 || !buffer) {
        return 0;
    }
    const LOGFONTW& attributes = static_cast<const Font*>(object)->Attributes();
    const int copied = std::min(size, static_cast<int>(sizeof(LOGFONTW)));
    std::memcpy(buffer, &attributes, static_cast<std::size_t>(copied));
    return copied;
}

}  // namespace qv
