#pragma once

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/gdi/device_context.h"
#include "text/language.h"

namespace qv {

// An image written as text: one character per pixel, rows top first, each character looked
// up in the palette; a character missing from the palette is a transparent pixel of an icon
// (white in a bitmap).
struct PixelArt {
    int width = 0;
    int height = 0;
    std::span<const std::string_view> rows;
};

// The classic 16-colour palette, one letter each: K black, R maroon, G green, Y olive, B navy,
// M purple, C teal, s silver, S grey, r red, g lime, y yellow, b blue, m fuchsia, c aqua,
// W white.
std::optional<COLORREF> PaletteColour(char key);

// The language of the user interface: a module's strings and resources of that language are
// found before its language-neutral ones. Chosen once at the start of the program; Russian
// until then.
void SelectUiLanguage(Language language);
Language UiLanguage();

// The program's resources: bitmaps and icons by id, as the module of the program carries them.
class ResourceModule {
  public:
    void AddBitmap(int id, PixelArt art) { bitmaps_[id] = art; }
    void AddIcon(int id, PixelArt art) { icons_[id] = art; }
    const PixelArt* FindBitmap(int id) const;
    const PixelArt* FindIcon(int id) const;

    // A string of the string table. The module refers to the text, which lives as long as the
    // program; an empty text reads as a missing string, as in the platform's tables.
    void AddString(UINT id, std::u16string_view text) { strings_[{kNeutral, id}] = text; }
    void AddString(Language language, UINT id, std::u16string_view text) {
        strings_[{Slot(language), id}] = text;
    }
    std::u16string_view FindString(UINT id) const;

    // Resources of the kinds the window layer reads (dialog templates, accelerator tables):
    // kept by kind and id. The module refers to them; they live as long as the program.
    template <typename T>
    void AddResource(int id, const T& resource) {
        others_[{std::type_index(typeid(T)), kNeutral, id}] = &resource;
    }
    template <typename T>
    void AddResource(Language language, int id, const T& resource) {
        others_[{std::type_index(typeid(T)), Slot(language), id}] = &resource;
    }
    template <typename T>
    const T* FindResource(int id) const {
        for (const int slot : {Slot(UiLanguage()), kNeutral}) {
            const auto found = others_.find({std::type_index(typeid(T)), slot, id});
            if (found != others_.end()) {
                return static_cast<const T*>(found->second);
            }
        }
        return nullptr;
    }

  private:
    static constexpr int kNeutral = -1;
    static constexpr int Slot(Language language) { return static_cast<int>(language); }

    std::map<int, PixelArt> bitmaps_;
    std::map<int, PixelArt> icons_;
    std::map<std::pair<int, UINT>, std::u16string_view> strings_;
    std::map<std::tuple<std::type_index, int, int>, const void*> others_;
};

using HINSTANCE = const ResourceModule*;

// An icon: its colours and which pixels are drawn.
struct Icon {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;
    std::vector<bool> opaque;
};
using HICON = Icon*;

// A device-independent bitmap (device scale 1) of the resource, or null when there is none.
HBITMAP LoadBitmapW(HINSTANCE module, int id);
HICON LoadIconW(HINSTANCE module, int id);
// Copies string `id` into `buffer` cut to bufferMax - 1 UTF-16 units (a surrogate pair may be
// split, as on the platform) and a terminating null, and returns the units copied. With
// bufferMax 0, `buffer` must hold a pointer: it receives a read-only pointer to the text, which
// is not null-terminated, and the text's length is returned. Returns 0 for a missing string,
// a null buffer or a negative size; a missing string leaves an empty text (or a null pointer).
int LoadStringW(HINSTANCE module, UINT id, char16_t* buffer, int bufferMax);
BOOL DestroyIcon(HICON icon);
// Draws the icon's opaque pixels at (x, y), scaled to width x height (0: its own size).
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step,
                HBRUSH flickerFree, UINT flags);

struct IconDeleter {
    void operator()(Icon* icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<Icon, IconDeleter>;

}  // namespace qv
