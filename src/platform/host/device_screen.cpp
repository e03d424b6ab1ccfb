#include "platform/host/device_screen.h"

namespace qv {

DeviceScreen::DeviceScreen(int scale) : dc_(scale) {
    Rescale(scale);
}

DeviceScreen::~DeviceScreen() = default;

void DeviceScreen::Rescale(int scale) {
    UniqueBitmap next(new Bitmap(kScreenWidth, kScreenHeight, scale));
    SelectObject(&dc_, next.get());
    bitmap_ = std::move(next);
}

}  // namespace qv
