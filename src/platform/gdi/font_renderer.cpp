#include "platform/gdi/font_renderer.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "text/utf.h"

namespace qv {

namespace {

constexpr const char* kRegularFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr LONG kBoldFrom = 600;

// The FreeType library and the two faces, loaded once and kept for the program's lifetime, so
// that Cairo's font faces never outlive them.
class FontFiles {
  public:
    static FontFiles& Instance() {
        static FontFiles files;
        return files;
    }

    cairo_font_face_t* Face(bool bold) const { return bold ? boldCairo_ : regularCairo_; }
    FT_Face FreeTypeFace(bool bold) const { return bold ? bold_ : regular_; }

  private:
    FontFiles() {
        if (FT_Init_FreeType(&library_) != 0) {
            std::fputs("quorvane: FreeType cannot start; text will not be drawn\n", stderr);
            return;
        }
        // The older hinting interpreter keeps small Cyrillic text crisp.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
        FT_Property_Set(library_, "truetype", "interpreter-version", &interpreter);
        regular_ = Load(kRegularFontFile);
        bold_ = Load(kBoldFontFile);
        if (!bold_) {
            bold_ = regular_;
        }
        regularCairo_ = regular_ ? cairo_ft_font_face_create_for_ft_face(regular_, 0) : nullptr;
        boldCairo_ = bold_ ? cairo_ft_font_face_create_for_ft_face(bold_, 0) : nullptr;
    }

    FT_Face Load(const char* path) {
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path, 0, &face) != 0) {
            std::fprintf(stderr,
                         "quorvane: cannot load the font %s (package fonts-dejavu-core); text will "
                         "not be drawn\n",
                         path);
            return nullptr;
        }
        return face;
    }

    FT_Library library_ = nullptr;
    FT_Face regular_ = nullptr;
    FT_Face bold_ = nullptr;
    cairo_font_face_t* regularCairo_ = nullptr;
    cairo_font_face_t* boldCairo_ = nullptr;
};

// Like the device, text is drawn in whole pixels unless a font asks for smoothing.
cairo_antialias_t AntialiasFor(BYTE quality) {
    return quality >= ANTIALIASED_QUALITY ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE;
}

// The em size in pixels: a negative height is the character height, a positive one the cell
// height (ascent plus descent as the font's Windows metrics give them).
double UnboundedEmSize(LONG height, FT_Face face) {
    if (height == 0) {
        return kDefaultCharacterHeight;
    }
    if (height < 0) {
        return -static_cast<double>(height);
    }
    const auto* os2 =
        face ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    if (!os2 || os2->usWinAscent + os2->usWinDescent == 0) {
        return height;
    }
    return height * static_cast<double>(face->units_per_EM) /
           (os2->usWinAscent + os2->usWinDescent);
}

double EmSize(LONG height, FT_Face face) {
    return std::min(UnboundedEmSize(height, face), static_cast<double>(kMaxCharacterHeight));
}

std::string GlyphText(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

}  // namespace

FontRenderer::FontRenderer(const LOGFONTW& attributes, int scale) {
    const bool bold = attributes.lfWeight >= kBoldFrom;
    const FontFiles& files = FontFiles::Instance();
    cairo_font_face_t* face = files.Face(bold);
    if (!face) {
        return;
    }
    const double em = EmSize(attributes.lfHeight, files.FreeTypeFace(bold)) * scale;
    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, em, em);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, AntialiasFor(attributes.lfQuality));
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    font_ = cairo_scaled_font_create(face, &size, &identity, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(font_) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(font_);
        font_ = nullptr;
        return;
    }

    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font_, &extents);
    // Hinted extents come back a hair above whole numbers: round, do not ceil.
    metrics_.tmAscent = std::lround(extents.ascent);
    metrics_.tmDescent = std::lround(extents.descent);
    metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
    metrics_.tmExternalLeading = std::max<LONG>(0, std::lround(extents.height) - metrics_.tmHeight);
    metrics_.tmMaxCharWidth = std::lround(extents.max_x_advance);
    metrics_.tmWeight = bold ? FW_BOLD : FW_NORMAL;
    const FT_Face ftFace = files.FreeTypeFace(bold);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
    metrics_.tmAveCharWidth = os2 && os2->xAvgCharWidth > 0
                                  ? std::lround(os2->xAvgCharWidth * em / ftFace->units_per_EM)
                                  : std::lround(Advance(u"x"));
}

FontRenderer::~FontRenderer() {
    if (font_) {
        cairo_scaled_font_destroy(font_);
    }
}

const FontRenderer::GlyphRun& FontRenderer::Glyphs(std::u16string_view text) const {
    if (text == last_.text) {
        return last_;
    }
    last_.text = text;
    last_.glyphs.clear();
    last_.advance = 0;
    const std::string utf8 = GlyphText(text);
    cairo_glyph_t* glyphs = nullptr;
    int glyphCount = 0;
    if (cairo_scaled_font_text_to_glyphs(font_, 0, 0, utf8.c_str(), static_cast<int>(utf8.size()),
                                         &glyphs, &glyphCount, nullptr, nullptr,
                                         nullptr) != CAIRO_STATUS_SUCCESS) {
        return last_;
    }
    last_.glyphs.assign(glyphs, glyphs + glyphCount);
    cairo_glyph_free(glyphs);
    cairo_text_extents_t extents;
    cairo_scaled_font_glyph_extents(font_, last_.glyphs.data(), glyphCount, &extents);
    last_.advance = extents.x_advance;
    return last_;
}

double FontRenderer::Advance(std::u16string_view text) const {
    if (!font_ || text.empty()) {
        return 0;
    }
    return Glyphs(text).advance;
}

void FontRenderer::Draw(cairo_t* context, double x, double y, std::u16string_view text) const {
    if (!font_ || text.empty()) {
        return;
    }
    std::vector<cairo_glyph_t> placed = Glyphs(text).glyphs;
    if (placed.empty()) {
        return;
    }
    for (cairo_glyph_t& glyph : placed) {
        glyph.x += x;
        glyph.y += y;
    }
    cairo_set_scaled_font(context, font_);
    cairo_show_glyphs(context, placed.data(), static_cast<int>(placed.size()));
}

}  // namespace qv
