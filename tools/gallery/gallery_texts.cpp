#include "gallery/gallery_texts.h"

#include "platform/gdi/resource_module.h"

namespace qv::gallery {

std::span<const TextEntry<GalleryTextId>> GalleryTexts(Language language) {
    return language == Language::English ? EnglishGalleryTexts() : RussianGalleryTexts();
}

std::u16string_view GalleryText(GalleryTextId id) {
    return FindText(GalleryTexts(UiLanguage()), id);
}

}  // namespace qv::gallery
