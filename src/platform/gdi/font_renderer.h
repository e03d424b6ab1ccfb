#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/system_metrics.h"

namespace qv {

// Character height of a font whose LOGFONTW asks for the default size.
inline constexpr LONG kDefaultCharacterHeight = 11;
// The tallest character a font is made with, in logical pixels: the device screen's height. A
// taller one could not be shown whole, and asks the font engine for absurd sizes.
inline constexpr LONG kMaxCharacterHeight = kScreenHeight;

// One font at one device scale (character heights held within kMaxCharacterHeight): glyphs from
// DejaVu Sans (regular or bold; its condensed cut for the device's dialog face, so that pages laid
// out in dialog units for that face fit), measured and drawn through Cairo. Above scale 1 it
// measures and places glyphs exactly as at scale 1, times the scale, and only draws them finer:
// a label that fits at one scale fits at every scale.
class FontRenderer {
  public:
    FontRenderer(const LOGFONTW& attributes, int scale);
    ~FontRenderer();
    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;

    // False when the font file could not be loaded; such a font draws nothing.
    bool Usable() const { return font_ != nullptr; }
    // In pixels of this scale.
    const TEXTMETRICW& Metrics() const { return metrics_; }
    double Advance(std::u16string_view text) const;
    // Draws with the context's current source, the baseline's start at (x, y).
    void Draw(cairo_t* context, double x, double y, std::u16string_view text) const;

  private:
    // The glyphs of the text last measured or drawn, from (0, 0): a label and its halo draw the
    // same text nine times over.
    struct GlyphRun {
        std::u16string text;
        std::vector<cairo_glyph_t> glyphs;
        double advance = 0;
    };
    const GlyphRun& Glyphs(std::u16string_view text) const;

    cairo_scaled_font_t* font_ = nullptr;
    // Above scale 1: the same font at scale 1, whose metrics and glyph places this one takes.
    std::unique_ptr<FontRenderer> unit_;
    int scale_ = 1;
    TEXTMETRICW metrics_;
    mutable GlyphRun last_;
};

}  // namespace qv
