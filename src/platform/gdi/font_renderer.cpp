#include "platform/gdi/font_renderer.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "text/utf.h"

namespace qv {

namespace {

constexpr LONG kBoldFrom = 600;

// The device draws dialogs that ask for its dialog face narrower than its system face; the
// condensed cut of the same family keeps the letters and the proportions the layouts expect.
enum class Family { Standard, Narrow };

struct FaceFiles {
    const char* regular;
    const char* bold;
    // The condensed bold cut's own hints draw "м" as "и" at small sizes without smoothing;
    // FreeType's autohinter keeps the letters apart, a few pixels wider.
    int boldLoadFlags = 0;
};

constexpr FaceFiles kStandardFiles{"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
constexpr FaceFiles kNarrowFiles{"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
                                 "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
                                 FT_LOAD_FORCE_AUTOHINT};

constexpr std::u16string_view kNarrowFaceNames[] = {u"MS Sans Serif", u"MS Shell Dlg", u"Tahoma"};

Family FamilyFor(const LOGFONTW& attributes) {
    const std::u16string_view name(attributes.lfFaceName,
                                   std::char_traits<char16_t>::length(attributes.lfFaceName));
    for (const std::u16string_view narrow : kNarrowFaceNames) {
        if (name == narrow) {
            return Family::Narrow;
        }
    }
    return Family::Standard;
}

// One face file opened by FreeType and wrapped for Cairo.
struct LoadedFace {
    FT_Face freeType = nullptr;
    cairo_font_face_t* cairo = nullptr;
};

// The FreeType library and the faces, loaded once and kept for the program's lifetime, so that
// Cairo's font faces never outlive them. A missing narrow face falls back to the standard one,
// a missing bold face to the regular one.
class FontFiles {
  public:
    static FontFiles& Instance() {
        static FontFiles files;
        return files;
    }

    const LoadedFace& Face(Family family, bool bold) const {
        const FacePair& pair = family == Family::Narrow ? narrow_ : standard_;
        return pair[bold ? 1 : 0];
    }

  private:
    FontFiles() {
        if (FT_Init_FreeType(&library_) != 0) {
            std::fputs("quorvane: FreeType cannot start; text will not be drawn\n", stderr);
            return;
        }
        // The older hinting interpreter keeps small Cyrillic text crisp.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
        FT_Property_Set(library_, "truetype", "interpreter-version", &interpreter);
        standard_ = LoadPair(kStandardFiles, "fonts-dejavu-core");
        narrow_ = LoadPair(kNarrowFiles, "fonts-dejavu-extra");
        if (!narrow_[0].freeType) {
            narrow_ = standard_;
        }
    }

    using FacePair = std::array<LoadedFace, 2>;  // regular, bold

    FacePair LoadPair(const FaceFiles& files, const char* package) {
        FacePair pair{Load(files.regular, package, 0),
                      Load(files.bold, package, files.boldLoadFlags)};
        if (!pair[1].freeType) {
            pair[1] = pair[0];
        }
        return pair;
    }

    LoadedFace Load(const char* path, const char* package, int loadFlags) {
        FT_Face face = nullptr;
        if (FT_New_Face(library_, path, 0, &face) != 0) {
            std::fprintf(stderr, "quorvane: cannot load the font %s (package %s)\n", path, package);
            return {};
        }
        return {face, cairo_ft_font_face_create_for_ft_face(face, loadFlags)};
    }

    FT_Library library_ = nullptr;
    FacePair standard_;
    FacePair narrow_;
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
    const LoadedFace& face = FontFiles::Instance().Face(FamilyFor(attributes), bold);
    if (!face.cairo) {
        return;
    }
    const double em = EmSize(attributes.lfHeight, face.freeType) * scale;
    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, em, em);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, AntialiasFor(attributes.lfQuality));
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    font_ = cairo_scaled_font_create(face.cairo, &size, &identity, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(font_) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(font_);
        font_ = nullptr;
        return;
    }

    // Text is laid out as at one pixel a logical pixel and only drawn finer, so that what fits at
    // one scale fits at every other.
    if (auto unit = scale > 1 ? std::make_unique<FontRenderer>(attributes, 1) : nullptr;
        unit && unit->Usable()) {
        const TEXTMETRICW& one = unit->Metrics();
        metrics_ = one;
        metrics_.tmAscent = one.tmAscent * scale;
        metrics_.tmDescent = one.tmDescent * scale;
        metrics_.tmHeight = one.tmHeight * scale;
        metrics_.tmExternalLeading = one.tmExternalLeading * scale;
        metrics_.tmMaxCharWidth = one.tmMaxCharWidth * scale;
        metrics_.tmAveCharWidth = one.tmAveCharWidth * scale;
        unit_ = std::move(unit);
        scale_ = scale;
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
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.freeType, FT_SFNT_OS2));
    metrics_.tmAveCharWidth =
        os2 && os2->xAvgCharWidth > 0
            ? std::lround(os2->xAvgCharWidth * em / face.freeType->units_per_EM)
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
    if (unit_ && last_.advance > 0) {
        // The run takes the width it has at scale 1, its glyphs spaced evenly within it.
        const double width = unit_->Advance(text) * scale_;
        const double stretch = width / last_.advance;
        for (cairo_glyph_t& glyph : last_.glyphs) {
            glyph.x *= stretch;
        }
        last_.advance = width;
    }
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
