#include "platform/gdi/image_list.h"

#include <algorithm>

#include "platform/gdi/raster.h"

namespace qv {

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int /*grow*/) {
    if (width <= 0 || height <= 0 || width > Bitmap::kMaxDeviceSide ||
        height > Bitmap::kMaxDeviceSide) {
        return nullptr;
    }
    auto* list = new ImageList{width, height, flags, {}, {}};
    // The initial count is only a hint; a huge one must not reserve memory that is never used.
    constexpr int kMostReserved = 256;
    list->images.reserve(static_cast<std::size_t>(std::clamp(initial, 0, kMostReserved)));
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    delete list;
    return list ? 1 : 0;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    if (!list || !image || image->Width() < list->width || image->Height() < list->height) {
        return -1;
    }
    const int first = static_cast<int>(list->images.size());
    const int k = image->Scale();
    image->Flush();
    for (int left = 0; left + list->width <= image->Width(); left += list->width) {
        auto copy = std::make_unique<Bitmap>(list->width, list->height, k);
        copy->BeginPixels();
        for (int y = 0; y < copy->DeviceHeight(); ++y) {
            std::copy_n(image->Row(y) + left * k, copy->DeviceWidth(), copy->Row(y));
        }
        copy->EndPixels();
        std::vector<bool> transparent;
        if (mask && (list->flags & ILC_MASK)) {
            for (int y = 0; y < list->height; ++y) {
                for (int x = 0; x < list->width; ++x) {
                    transparent.push_back(mask->GetPixel((left + x) * mask->Scale(),
                                                         y * mask->Scale()) == RGB(255, 255, 255));
                }
            }
        }
        list->images.push_back(std::move(copy));
        list->transparent.push_back(std::move(transparent));
    }
    return first;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    return list ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT /*style*/) {
    if (!list || !dc || index < 0 || index >= ImageList_GetImageCount(list)) {
        return 0;
    }
    const Bitmap& image = *list->images[static_cast<std::size_t>(index)];
    const std::vector<bool>& transparent = list->transparent[static_cast<std::size_t>(index)];
    if (!dc->bitmap) {
        return 1;
    }
    const int k = dc->Scale();
    const ClipRegion clip = dc->DeviceClip();
    for (int row = 0; row < list->height; ++row) {
        for (int column = 0; column < list->width; ++column) {
            const std::size_t at = static_cast<std::size_t>(row * list->width + column);
            if (!transparent.empty() && transparent[at]) {
                continue;
            }
            const POINT p = dc->ToDevice({x + column, y + row});
            const COLORREF colour = image.GetPixel(column * image.Scale(), row * image.Scale());
            const RECT pixel{p.x, p.y, p.x + k, p.y + k};
            raster::Fill(*dc->bitmap, clip, raster::BoxRuns(pixel, pixel), colour);
        }
    }
    return 1;
}

}  // namespace qv
