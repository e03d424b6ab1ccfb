#include "platform/gdi/resource_module.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/raster.h"

namespace qv {

namespace {

// The colour of pixel (x, y) of the art, or nothing where it is transparent.
std::optional<COLORREF> ArtPixel(const PixelArt& art, int x, int y) {
    if (y >= static_cast<int>(art.rows.size()) ||
        x >= static_cast<int>(art.rows[static_cast<std::size_t>(y)].size())) {
        return std::nullopt;
    }
    return PaletteColour(art.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
}

}  // namespace

std::optional<COLORREF> PaletteColour(char key) {
    switch (key) {
        case 'K':
            return RGB(0, 0, 0);
        case 'R':
            return RGB(128, 0, 0);
        case 'G':
            return RGB(0, 128, 0);
        case 'Y':
            return RGB(128, 128, 0);
        case 'B':
            return RGB(0, 0, 128);
        case 'M':
            return RGB(128, 0, 128);
        case 'C':
            return RGB(0, 128, 128);
        case 's':
            return RGB(192, 192, 192);
        case 'S':
            return RGB(128, 128, 128);
        case 'r':
            return RGB(255, 0, 0);
        case 'g':
            return RGB(0, 255, 0);
        case 'y':
            return RGB(255, 255, 0);
        case 'b':
            return RGB(0, 0, 255);
        case 'm':
            return RGB(255, 0, 255);
        case 'c':
            return RGB(0, 255, 255);
        case 'W':
            return RGB(255, 255, 255);
        default:
            return std::nullopt;
    }
}

const PixelArt* ResourceModule::FindBitmap(int id) const {
    const auto found = bitmaps_.find(id);
    return found == bitmaps_.end() ? nullptr : &found->second;
}

const PixelArt* ResourceModule::FindIcon(int id) const {
    const auto found = icons_.find(id);
    return found == icons_.end() ? nullptr : &found->second;
}

namespace {

Language selectedLanguage = Language::Russian;

}  // namespace

void SelectUiLanguage(Language language) {
    selectedLanguage = language;
}

Language UiLanguage() {
    return selectedLanguage;
}

std::u16string_view ResourceModule::FindString(UINT id) const {
    for (const int slot : {Slot(UiLanguage()), kNeutral}) {
        const auto found = strings_.find({slot, id});
        if (found != strings_.end()) {
            return found->second;
        }
    }
    return {};
}

HBITMAP LoadBitmapW(HINSTANCE module, int id) {
    const PixelArt* art = module ? module->FindBitmap(id) : nullptr;
    if (!art || art->width <= 0 || art->height <= 0) {
        return nullptr;
    }
    auto* bitmap = new Bitmap(art->width, art->height, 1);
    bitmap->BeginPixels();
    for (int y = 0; y < art->height; ++y) {
        for (int x = 0; x < art->width; ++x) {
            bitmap->Row(y)[x] = PixelOf(ArtPixel(*art, x, y).value_or(RGB(255, 255, 255)));
        }
    }
    bitmap->EndPixels();
    return bitmap;
}

HICON LoadIconW(HINSTANCE module, int id) {
    const PixelArt* art = module ? module->FindIcon(id) : nullptr;
    if (!art || art->width <= 0 || art->height <= 0) {
        return nullptr;
    }
    auto* icon = new Icon{art->width, art->height, {}, {}};
    for (int y = 0; y < art->height; ++y) {
        for (int x = 0; x < art->width; ++x) {
            const std::optional<COLORREF> colour = ArtPixel(*art, x, y);
            icon->colours.push_back(colour.value_or(0));
            icon->opaque.push_back(colour.has_value());
        }
    }
    return icon;
}

int LoadStringW(HINSTANCE module, UINT id, char16_t* buffer, int bufferMax) {
    if (!buffer || bufferMax < 0) {
        return 0;
    }
    const std::u16string_view text = module ? module->FindString(id) : std::u16string_view{};
    if (bufferMax == 0) {
        // The caller's buffer is storage for a pointer and may not be aligned for one.
        const char16_t* resource = text.empty() ? nullptr : text.data();
        std::memcpy(buffer, &resource, sizeof resource);
        return static_cast<int>(text.size());
    }
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(bufferMax - 1));
    std::copy_n(text.data(), copied, buffer);
    buffer[copied] = u'\0';
    return static_cast<int>(copied);
}

BOOL DestroyIcon(HICON icon) {
    delete icon;
    return icon ? 1 : 0;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT /*step*/,
                HBRUSH /*flickerFree*/, UINT /*flags*/) {
    if (!dc || !icon) {
        return 0;
    }
    if (!dc->bitmap) {
        return 1;
    }
    const int w = width > 0 ? width : icon->width;
    const int h = height > 0 ? height : icon->height;
    const int k = dc->Scale();
    const ClipRegion clip = dc->DeviceClip();
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const std::size_t source = static_cast<std::size_t>(row * icon->height / h) *
                                           static_cast<std::size_t>(icon->width) +
                                       static_cast<std::size_t>(column * icon->width / w);
            if (!icon->opaque[source]) {
                continue;
            }
            const POINT p = dc->ToDevice({x + column, y + row});
            const RECT pixel{p.x, p.y, p.x + k, p.y + k};
            raster::Fill(*dc->bitmap, clip, raster::BoxRuns(pixel, pixel), icon->colours[source]);
        }
    }
    return 1;
}

}  // namespace qv
