#pragma once

#include <cairo.h>

#include <string_view>

#include "platform/gdi/gdi_types.h"

namespace qv {

// Character height of a font whose LOGFONTW asks for the default size.
inline constexpr LONG kDefaultCharacterHeight = 11;

// One font at one device scale: glyphs from the program's single font file (DejaVu Sans, regular
// or bold), measured and drawn through Cairo.
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
    cairo_scaled_font_t* font_ = nullptr;
    TEXTMETRICW metrics_;
};

}  // namespace qv
