#include "render/gdi_surface.h"

#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"

namespace qv {

namespace {

constexpr int kMaxImageDeviceWidth = 240 * 8;
constexpr int kMaxImageDeviceHeight = 320 * 8;

}  // namespace

GdiSurface::~GdiSurface() {
    while (!pens_.empty()) {
        Restore(pens_);
    }
    while (!brushes_.empty()) {
        Restore(brushes_);
    }
    while (!fonts_.empty()) {
        Restore(fonts_);
    }
}

void GdiSurface::Select(std::vector<Selection>& stack, HGDIOBJ made) {
    stack.push_back({made, SelectObject(dc_, made)});
}

void GdiSurface::Restore(std::vector<Selection>& stack) {
    if (stack.empty()) {
        return;
    }
    const Selection top = stack.back();
    stack.pop_back();
    SelectObject(dc_, top.previous);
    DeleteObject(top.made);
}

void GdiSurface::SelectPen(int width, COLORREF colour, PenEnds ends) {
    Select(pens_,
           CreatePen(ends == PenEnds::Flat ? PS_SOLID | PS_ENDCAP_FLAT : PS_SOLID, width, colour));
}
void GdiSurface::RestorePen() {
    Restore(pens_);
}
void GdiSurface::SelectBrush(COLORREF colour) {
    Select(brushes_, CreateSolidBrush(colour));
}
void GdiSurface::RestoreBrush() {
    Restore(brushes_);
}
void GdiSurface::SelectFont(const LOGFONTW& attributes) {
    Select(fonts_, CreateFontIndirectW(&attributes));
}
void GdiSurface::RestoreFont() {
    Restore(fonts_);
}

void GdiSurface::Rectangle(int left, int top, int right, int bottom) {
    qv::Rectangle(dc_, left, top, right, bottom);
}

void GdiSurface::Ellipse(int left, int top, int right, int bottom) {
    qv::Ellipse(dc_, left, top, right, bottom);
}

void GdiSurface::Polyline(std::span<const POINT> points) {
    qv::Polyline(dc_, points);
}

void GdiSurface::Discs(std::span<const Disc> discs) {
    std::vector<EllipseStep> steps;
    steps.reserve(discs.size());
    for (const Disc& disc : discs) {
        steps.push_back({disc.box, disc.penWidth, disc.pen, disc.brush});
    }
    Ellipses(dc_, steps);
}

void GdiSurface::CopyImage(const SchemeImageSurface& image, int x, int y, int width, int height) {
    const auto* gdiImage = dynamic_cast<const GdiSchemeImage*>(&image);
    if (gdiImage) {
        BitBlt(dc_, x, y, width, height, gdiImage->Dc(), 0, 0, SRCCOPY);
    }
}

void GdiSurface::StretchBitmap(int bitmapId, int x, int y, int width, int height) {
    UniqueBitmap bitmap(LoadBitmapW(module_, bitmapId));
    if (!bitmap) {
        return;
    }
    UniqueDC source(CreateCompatibleDC(dc_));
    const HBITMAP previous = SelectObject(source.get(), bitmap.get());
    StretchBlt(dc_, x, y, width, height, source.get(), 0, 0, bitmap->Width(), bitmap->Height(),
               SRCCOPY);
    SelectObject(source.get(), previous);
}

TEXTMETRICW GdiSurface::TextMetrics() {
    TEXTMETRICW metrics;
    GetTextMetricsW(dc_, &metrics);
    return metrics;
}

void GdiSurface::SetTextColour(COLORREF colour) {
    SetTextColor(dc_, colour);
}
void GdiSurface::SetBackgroundColour(COLORREF colour) {
    SetBkColor(dc_, colour);
}
void GdiSurface::SetBackgroundMode(int mode) {
    SetBkMode(dc_, mode);
}

void GdiSurface::DrawText(std::u16string_view text, const RECT& rect, UINT format) {
    RECT box = rect;
    DrawTextW(dc_, text, &box, format);
}

std::unique_ptr<SchemeImageSurface> GdiSurface::CreateImage(int width, int height) {
    // A zoomed image is already large: its device scale is lowered so that it never holds more
    // device pixels than the screen at the largest scale would.
    const int fitting = std::min(kMaxImageDeviceWidth / std::max(width, 1),
                                 kMaxImageDeviceHeight / std::max(height, 1));
    const int deviceScale = std::clamp(fitting, 1, dc_->Scale());
    return std::make_unique<GdiSchemeImage>(dc_, width, height, deviceScale, module_);
}

GdiSchemeImage::GdiSchemeImage(HDC like, int width, int height, int deviceScale, HINSTANCE module)
    : bitmap_(new Bitmap(width, height, deviceScale)),
      dc_(CreateCompatibleDC(like)),
      previous_(SelectObject(dc_.get(), bitmap_.get())),
      surface_(dc_.get(), module) {}

GdiSchemeImage::~GdiSchemeImage() {
    SelectObject(dc_.get(), previous_);
}

}  // namespace qv
