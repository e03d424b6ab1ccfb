#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::tools {

// The application icon for the desktop: the pixel icon's white tile with a navy rim, a red line
// with a bend and a blue line meeting at a transfer, as a few shapes on a square of 48 units, so
// that the scalable image and the rendered one come from the same drawing.
std::string DesktopIconSvg();

// The icon rendered at size x size pixels: rows top first, each pixel 0xAARRGGBB with the
// colour premultiplied by its alpha. Transparent outside the tile.
struct RenderedIcon {
    int size = 0;
    std::vector<std::uint32_t> pixels;
};
RenderedIcon RenderDesktopIcon(int size);

// Writes the rendering as a PNG with an alpha channel; false when the file cannot be written.
bool WritePng(const RenderedIcon& icon, const std::string& path);
// Reads a PNG back as a rendering; nothing (size 0) when it cannot be read or is not square.
RenderedIcon ReadPng(const std::string& path);

}  // namespace qv::tools
