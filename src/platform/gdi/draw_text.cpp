#include "platform/gdi/draw_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/gdi/font_renderer.h"
#include "platform/gdi/raster.h"

namespace qv {

namespace {

// Lengths beyond this are held here, so that sums and differences of them stay in range.
constexpr double kMaxLength = 1 << 30;

LONG Saturated(double value) {
    return static_cast<LONG>(std::clamp(value,
                                        static_cast<double>(std::numeric_limits<LONG>::min()),
                                        static_cast<double>(std::numeric_limits<LONG>::max())));
}

std::vector<std::u16string> SplitLines(std::u16string_view text, bool singleLine) {
    std::vector<std::u16string> lines;
    if (singleLine) {
        std::u16string line(text);
        std::replace_if(
            line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
        lines.push_back(std::move(line));
        return lines;
    }
    std::u16string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            lines.push_back(std::move(current));
            current.clear();
        } else {
            current += text[i];
        }
    }
    lines.push_back(std::move(current));
    return lines;
}

// Breaks each line between words so that it fits the width; a word wider than the width keeps
// a line of its own.
std::vector<std::u16string> WrapLines(const std::vector<std::u16string>& lines,
                                      const FontRenderer& font, double width) {
    std::vector<std::u16string> wrapped;
    for (const std::u16string& line : lines) {
        std::u16string current;
        std::size_t start = 0;
        while (start <= line.size()) {
            std::size_t end = line.find(u' ', start);
            if (end == std::u16string::npos) {
                end = line.size();
            }
            const std::u16string word = line.substr(start, end - start);
            const std::u16string candidate = current.empty() ? word : current + u' ' + word;
            if (!current.empty() && font.Advance(candidate) > width) {
                wrapped.push_back(current);
                current = word;
            } else {
                current = candidate;
            }
            start = end + 1;
        }
        wrapped.push_back(current);
    }
    return wrapped;
}

// The longest beginning of the line that fits the width with "..." after it, so ended; the line
// itself when it fits. A surrogate pair is kept whole or dropped whole.
std::u16string EndWithEllipsis(const std::u16string& line, const FontRenderer& font, double width) {
    static constexpr std::u16string_view kEllipsis = u"...";
    if (font.Advance(line) <= width) {
        return line;
    }
    const auto fits = [&](std::size_t length) {
        return font.Advance(line.substr(0, length) + std::u16string(kEllipsis)) <= width;
    };
    std::size_t low = 0;
    std::size_t high = line.size();
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    if (low > 0 && line[low - 1] >= 0xD800 && line[low - 1] <= 0xDBFF) {
        --low;
    }
    return line.substr(0, low) + std::u16string(kEllipsis);
}

}  // namespace

int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format) {
    if (!text) {
        return 0;
    }
    const std::u16string_view view =
        count < 0 ? std::u16string_view(text)
                  : std::u16string_view(text, static_cast<std::size_t>(count));
    return DrawTextW(dc, view, rect, format);
}

int DrawTextW(HDC dc, std::u16string_view text, RECT* rect, UINT format) {
    if (!dc || !rect || !dc->font) {
        return 0;
    }
    const int k = dc->Scale();
    const FontRenderer& font = dc->font->Renderer(k);
    const LONG logicalLineHeight = dc->font->Renderer(1).Metrics().tmHeight;
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    std::vector<std::u16string> lines = SplitLines(text, singleLine);
    if ((format & DT_WORDBREAK) && !singleLine) {
        lines = WrapLines(lines, font, (static_cast<double>(rect->right) - rect->left) * k);
    }
    const int textHeight = static_cast<int>(
        std::min(static_cast<double>(lines.size()) * logicalLineHeight, kMaxLength));

    if (format & DT_CALCRECT) {
        double widest = 0;
        for (const std::u16string& line : lines) {
            widest = std::max(widest, font.Advance(line));
        }
        rect->right = Saturated(static_cast<double>(rect->left) + std::ceil(widest / k));
        rect->bottom = Saturated(static_cast<double>(rect->top) + textHeight);
        return textHeight;
    }
    if (!dc->bitmap || !font.Usable()) {
        return textHeight;
    }

    const POINT topLeft = dc->ToDevice({rect->left, rect->top});
    const POINT bottomRight = dc->ToDevice({rect->right, rect->bottom});
    const RECT area{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    ClipRegion clip = dc->DeviceClip();
    if (!(format & DT_NOCLIP)) {
        clip.Intersect(area);
    }
    if (format & DT_END_ELLIPSIS) {
        for (std::u16string& line : lines) {
            line = EndWithEllipsis(line, font, static_cast<double>(area.right) - area.left);
        }
    }
    const int lineHeight = font.Metrics().tmHeight;
    int y = area.top;
    if (singleLine && (format & DT_VCENTER)) {
        y = area.top + (area.bottom - area.top - lineHeight) / 2;
    } else if (singleLine && (format & DT_BOTTOM)) {
        y = area.bottom - lineHeight;
    }

    cairo_t* context = cairo_create(dc->bitmap->Surface());
    ClipContext(context, clip);
    const COLORREF colour = dc->textColour;
    for (const std::u16string& line : lines) {
        const int width = static_cast<int>(std::lround(std::min(font.Advance(line), kMaxLength)));
        int x = area.left;
        if (format & DT_RIGHT) {
            x = area.right - width;
        } else if (format & DT_CENTER) {
            x = area.left + (area.right - area.left - width) / 2;
        }
        if (dc->backgroundMode == OPAQUE && width > 0) {
            cairo_surface_flush(dc->bitmap->Surface());
            raster::Fill(*dc->bitmap, clip,
                         raster::BoxRuns({x, y, x + width, y + lineHeight}, clip.Bounds()),
                         dc->backgroundColour);
        }
        cairo_set_source_rgb(context, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                             GetBValue(colour) / 255.0);
        font.Draw(context, x, y + font.Metrics().tmAscent, line);
        y += lineHeight;
    }
    cairo_destroy(context);
    return textHeight;
}

}  // namespace qv
