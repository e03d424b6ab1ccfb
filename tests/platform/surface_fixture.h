#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/gdi/device_context.h"

namespace qv::testing {

class Surface {
  public:
    Surface(int width, int height, int scale = 1) : dc_(new DeviceContext(scale)) {
        bitmap_.reset(CreateCompatibleBitmap(dc_.get(), width, height));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Surface() { SelectObject(dc_.get(), previous_); }

    HDC Dc() const { return dc_.get(); }
    const Bitmap& Pixels() const { return *bitmap_; }
    COLORREF At(int x, int y) const { return bitmap_->GetPixel(x, y); }
    // Device row y as characters: '.' white, '#' black, 'r' red, 'b' blue, '?' anything else.
    std::string Row(int y) const {
        std::string text;
        for (int x = 0; x < bitmap_->DeviceWidth(); ++x) {
            const COLORREF c = At(x, y);
            text += c == RGB(255, 255, 255) ? '.'
                    : c == RGB(0, 0, 0)     ? '#'
                    : c == RGB(255, 0, 0)   ? 'r'
                    : c == RGB(0, 0, 255)   ? 'b'
                                            : '?';
        }
        return text;
    }
    std::string Picture() const {
        std::string text;
        for (int y = 0; y < bitmap_->DeviceHeight(); ++y) {
            text += Row(y) + '\n';
        }
        return text;
    }

  private:
    UniqueDC dc_;
    UniqueBitmap bitmap_;
    HBITMAP previous_ = nullptr;
};

// The box of the pixels of device rows [top, bottom) that `inked` accepts.
struct InkBox {
    RECT box{1 << 20, 1 << 20, -1, -1};
    bool solid = false;
};
template <typename Inked>
InkBox InkIn(const Surface& surface, Inked inked, int top = 0, int bottom = 1 << 20) {
    InkBox found;
    int count = 0;
    for (int y = top; y < std::min(bottom, surface.Pixels().DeviceHeight()); ++y) {
        for (int x = 0; x < surface.Pixels().DeviceWidth(); ++x) {
            if (inked(surface.At(x, y))) {
                found.box = {std::min<LONG>(found.box.left, x), std::min<LONG>(found.box.top, y),
                             std::max<LONG>(found.box.right, x + 1),
                             std::max<LONG>(found.box.bottom, y + 1)};
                ++count;
            }
        }
    }
    found.solid = count > 0 &&
                  count == (found.box.right - found.box.left) * (found.box.bottom - found.box.top);
    return found;
}

}  // namespace qv::testing
