#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "render/drawing_surface.h"

namespace qv::testing {

// One drawing call with the pen, brush, font and text state it was made with.
struct DrawCall {
    enum class Kind { Rectangle, Ellipse, Polyline, CopyImage, StretchBitmap, DrawText };

    Kind kind = Kind::Rectangle;
    RECT rect{};
    std::vector<POINT> points{};
    int penWidth = 1;
    COLORREF penColour = 0;
    COLORREF brushColour = 0xFFFFFF;
    std::u16string text{};
    UINT format = 0;
    COLORREF textColour = 0;
    int backgroundMode = OPAQUE;
    BYTE fontCharSet = 0;
};
using Kind = DrawCall::Kind;

// A surface that draws nothing and remembers every call. Its text metrics are simple functions
// of the font height: cell |h| + 3, average width |h| / 2.
class RecordingSurface : public DrawingSurface {
  public:
    std::vector<DrawCall> calls;
    std::vector<RecordingSurface*> images;  // made through CreateImage, in order
    int openSelections = 0;
    int imageWidth = 0;

    void SelectPen(int width, COLORREF colour, PenEnds) override {
        pens_.push_back({.penWidth = width, .penColour = colour});
        ++openSelections;
    }
    void RestorePen() override { Pop(pens_); }
    void SelectBrush(COLORREF colour) override {
        brushes_.push_back(colour);
        ++openSelections;
    }
    void RestoreBrush() override { Pop(brushes_); }
    void SelectFont(const LOGFONTW& attributes) override {
        fonts_.push_back(attributes);
        ++openSelections;
    }
    void RestoreFont() override { Pop(fonts_); }

    void Rectangle(int l, int t, int r, int b) override {
        Record(Kind::Rectangle).rect = {l, t, r, b};
    }
    void Ellipse(int l, int t, int r, int b) override { Record(Kind::Ellipse).rect = {l, t, r, b}; }
    void Polyline(std::span<const POINT> points) override {
        Record(Kind::Polyline).points.assign(points.begin(), points.end());
    }
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
        Record(Kind::CopyImage).rect = {x, y, x + width, y + height};
    }
    void StretchBitmap(int, int x, int y, int width, int height) override {
        Record(Kind::StretchBitmap).rect = {x, y, x + width, y + height};
    }
    TEXTMETRICW TextMetrics() override {
        const LONG height = fonts_.empty() ? 11 : std::abs(fonts_.back().lfHeight);
        TEXTMETRICW metrics{};
        metrics.tmHeight = height + 3;
        metrics.tmAveCharWidth = height / 2;
        return metrics;
    }
    void SetTextColour(COLORREF colour) override { textColour_ = colour; }
    void SetBackgroundColour(COLORREF) override {}
    void SetBackgroundMode(int mode) override { backgroundMode_ = mode; }
    void DrawText(std::u16string_view text, const RECT& rect, UINT format) override {
        DrawCall& call = Record(Kind::DrawText);
        call.text = text;
        call.rect = rect;
        call.format = format;
    }
    std::unique_ptr<SchemeImageSurface> CreateImage(int width, int height) override;

    std::vector<DrawCall> Calls(DrawCall::Kind kind) const {
        std::vector<DrawCall> selected;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(selected),
                     [kind](const DrawCall& call) { return call.kind == kind; });
        return selected;
    }

  private:
    template <typename T>
    void Pop(std::vector<T>& stack) {
        stack.pop_back();
        --openSelections;
    }

    DrawCall& Record(Kind kind) {
        DrawCall call = pens_.empty() ? DrawCall{} : pens_.back();
        call.kind = kind;
        if (!brushes_.empty()) {
            call.brushColour = brushes_.back();
        }
        call.textColour = textColour_;
        call.backgroundMode = backgroundMode_;
        call.fontCharSet = fonts_.empty() ? 0 : fonts_.back().lfCharSet;
        calls.push_back(call);
        return calls.back();
    }

    std::vector<DrawCall> pens_;
    std::vector<COLORREF> brushes_;
    std::vector<LOGFONTW> fonts_;
    COLORREF textColour_ = 0;
    int backgroundMode_ = OPAQUE;
};

class RecordingImage : public SchemeImageSurface {
  public:
    DrawingSurface& Surface() override { return surface; }
    RecordingSurface surface;
};

inline std::unique_ptr<SchemeImageSurface> RecordingSurface::CreateImage(int width, int) {
    auto image = std::make_unique<RecordingImage>();
    image->surface.imageWidth = width;
    images.push_back(&image->surface);
    return image;
}

}  // namespace qv::testing
