#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/drawing_surface.h"

namespace qv::testing {

// One drawing call with the pen, brush, font and text state it was made with.
struct DrawCall {
    enum class Kind { Rectangle, Ellipse, Polyline, CopyImage, StretchBitmap, DrawText };

    Kind kind;
    RECT rect{};                  // shapes, copies, bitmaps and text
    std::vector<POINT> points{};  // polylines
    int penWidth = 0;
    COLORREF penColour = 0;
    PenEnds penEnds = PenEnds::Round;
    COLORREF brushColour = 0;
    int bitmapId = 0;
    std::u16string text{};
    UINT format = 0;
    COLORREF textColour = 0;
    COLORREF backgroundColour = 0;
    int backgroundMode = 0;
    LONG fontHeight = 0;
    BYTE fontCharSet = 0;
};

// A surface that draws nothing and remembers every call. Its text metrics are simple functions
// of the font height: cell |h| + 3, average width |h| / 2.
class RecordingSurface : public DrawingSurface {
  public:
    std::vector<DrawCall> calls;
    // Images made through CreateImage, in order; they record their own calls.
    std::vector<RecordingSurface*> images;
    int openSelections = 0;

    void SelectPen(int width, COLORREF colour, PenEnds ends) override {
        pens_.push_back({width, colour, ends});
        ++openSelections;
    }
    void RestorePen() override {
        pens_.pop_back();
        --openSelections;
    }
    void SelectBrush(COLORREF colour) override {
        brushes_.push_back(colour);
        ++openSelections;
    }
    void RestoreBrush() override {
        brushes_.pop_back();
        --openSelections;
    }
    void SelectFont(const LOGFONTW& attributes) override {
        fonts_.push_back(attributes);
        ++openSelections;
    }
    void RestoreFont() override {
        fonts_.pop_back();
        --openSelections;
    }

    void Rectangle(int left, int top, int right, int bottom) override {
        Record(DrawCall::Kind::Rectangle).rect = {left, top, right, bottom};
    }
    void Ellipse(int left, int top, int right, int bottom) override {
        Record(DrawCall::Kind::Ellipse).rect = {left, top, right, bottom};
    }
    void Polyline(std::span<const POINT> points) override {
        Record(DrawCall::Kind::Polyline).points.assign(points.begin(), points.end());
    }
    // Each disc as an ellipse drawn with its own pen and brush.
    void Discs(std::span<const Disc> discs) override {
        for (const Disc& disc : discs) {
            SelectPen(disc.penWidth, disc.pen, PenEnds::Round);
            SelectBrush(disc.brush);
            Ellipse(disc.box.left, disc.box.top, disc.box.right, disc.box.bottom);
            RestoreBrush();
            RestorePen();
        }
    }
    void CopyImage(const SchemeImageSurface&, int x, int y, int width, int height) override {
        Record(DrawCall::Kind::CopyImage).rect = {x, y, x + width, y + height};
    }
    void StretchBitmap(int bitmapId, int x, int y, int width, int height) override {
        DrawCall& call = Record(DrawCall::Kind::StretchBitmap);
        call.bitmapId = bitmapId;
        call.rect = {x, y, x + width, y + height};
    }
    TEXTMETRICW TextMetrics() override {
        const LONG height = fonts_.empty() ? 11 : std::abs(fonts_.back().lfHeight);
        TEXTMETRICW metrics;
        metrics.tmHeight = height + 3;
        metrics.tmAscent = height;
        metrics.tmDescent = 3;
        metrics.tmAveCharWidth = height / 2;
        return metrics;
    }
    void SetTextColour(COLORREF colour) override { textColour_ = colour; }
    void SetBackgroundColour(COLORREF colour) override { backgroundColour_ = colour; }
    void SetBackgroundMode(int mode) override { backgroundMode_ = mode; }
    void DrawText(std::u16string_view text, const RECT& rect, UINT format) override {
        DrawCall& call = Record(DrawCall::Kind::DrawText);
        call.text = text;
        call.rect = rect;
        call.format = format;
    }
    std::unique_ptr<SchemeImageSurface> CreateImage(int width, int height) override;

    std::vector<DrawCall> Calls(DrawCall::Kind kind) const {
        std::vector<DrawCall> selected;
        for (const DrawCall& call : calls) {
            if (call.kind == kind) {
                selected.push_back(call);
            }
        }
        return selected;
    }

    int imageWidth = 0;
    int imageHeight = 0;

  private:
    struct PenState {
        int width;
        COLORREF colour;
        PenEnds ends;
    };

    DrawCall& Record(DrawCall::Kind kind) {
        DrawCall call{kind};
        call.penWidth = pens_.empty() ? 1 : pens_.back().width;
        call.penColour = pens_.empty() ? 0 : pens_.back().colour;
        call.penEnds = pens_.empty() ? PenEnds::Round : pens_.back().ends;
        call.brushColour = brushes_.empty() ? 0xFFFFFF : brushes_.back();
        call.textColour = textColour_;
        call.backgroundColour = backgroundColour_;
        call.backgroundMode = backgroundMode_;
        call.fontHeight = fonts_.empty() ? 0 : fonts_.back().lfHeight;
        call.fontCharSet = fonts_.empty() ? 0 : fonts_.back().lfCharSet;
        calls.push_back(call);
        return calls.back();
    }

    std::vector<PenState> pens_;
    std::vector<COLORREF> brushes_;
    std::vector<LOGFONTW> fonts_;
    COLORREF textColour_ = 0;
    COLORREF backgroundColour_ = 0xFFFFFF;
    int backgroundMode_ = OPAQUE;
};

class RecordingImage : public SchemeImageSurface {
  public:
    DrawingSurface& Surface() override { return surface; }
    RecordingSurface surface;
};

inline std::unique_ptr<SchemeImageSurface> RecordingSurface::CreateImage(int width, int height) {
    auto image = std::make_unique<RecordingImage>();
    image->surface.imageWidth = width;
    image->surface.imageHeight = height;
    images.push_back(&image->surface);
    return image;
}

}  // namespace qv::testing
