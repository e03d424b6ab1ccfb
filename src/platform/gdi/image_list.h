#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/device_context.h"

namespace qv {

// Images of one size, drawn by index.
struct ImageList {
    int width = 0;
    int height = 0;
    UINT flags = 0;
    std::vector<std::unique_ptr<Bitmap>> images;
    std::vector<std::vector<bool>> transparent;  // per image, per logical pixel; empty: none
};
using HIMAGELIST = ImageList*;

// Null for an empty image size or a side past Bitmap::kMaxDeviceSide.
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds the images side by side in `image` (its width divided by the list's); white pixels of
// `mask` are transparent. Returns the index of the first image added, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

struct ImageListDeleter {
    void operator()(ImageList* list) const { ImageList_Destroy(list); }
};
using UniqueImageList = std::unique_ptr<ImageList, ImageListDeleter>;

}  // namespace qv
