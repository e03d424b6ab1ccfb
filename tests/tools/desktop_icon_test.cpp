#include "desktop_icon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "golden_picture.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/resource_module.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv::tools {
namespace {

const std::filesystem::path kTheme = std::filesystem::path(QV_ICONS_DIR) / "hicolor";

// The shipped files must be what the drawing makes now, or a change to it was not written out
// with scripts/make-icons.
TEST(DesktopIcon, ShippedFilesAreWhatTheDrawingMakes) {
    std::ifstream file(kTheme / "scalable" / "apps" / "quorvane.svg", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string shipped{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(shipped, DesktopIconSvg());

    const RenderedIcon png = ReadPng((kTheme / "48x48" / "apps" / "quorvane.png").string());
    const RenderedIcon drawn = RenderDesktopIcon(48);
    ASSERT_EQ(png.size, 48);
    ASSERT_EQ(png.pixels.size(), drawn.pixels.size());
    for (std::size_t i = 0; i < drawn.pixels.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = static_cast<int>((png.pixels[i] >> shift) & 0xFF);
            const int b = static_cast<int>((drawn.pixels[i] >> shift) & 0xFF);
            // Another Cairo may round an edge pixel differently.
            ASSERT_LE(std::abs(a - b), 2) << "pixel " << i % 48 << "," << i / 48;
        }
    }
}

TEST(DesktopIcon, BadSizesAndFilesGiveNothing) {
    EXPECT_EQ(RenderDesktopIcon(0).size, 0);
    EXPECT_EQ(RenderDesktopIcon(-3).pixels.size(), 0u);
    EXPECT_FALSE(WritePng(RenderDesktopIcon(0), "/dev/null"));
    EXPECT_FALSE(WritePng(RenderDesktopIcon(16), "/nonexistent-folder/icon.png"));
    EXPECT_EQ(ReadPng("/nonexistent-folder/icon.png").size, 0);
    // A file that is not a PNG at all.
    EXPECT_EQ(ReadPng((kTheme / "scalable" / "apps" / "quorvane.svg").string()).size, 0);
}

// The help page shows the toolbar's buttons from this picture; it must be the strip the program
// loads, or the strip changed without scripts/make-icons.
TEST(HelpImages, ToolbarPictureIsTheProgramsStrip) {
    const UniqueBitmap strip(LoadBitmapW(ProgramModule(), IDB_TOOLBAR));
    ASSERT_TRUE(strip);
    EXPECT_EQ(testing::DifferingShare(*strip, QV_HELP_DIR "/images/toolbar.png", 0), 0)
        << "help/images/toolbar.png differs from the strip";
}

}  // namespace
}  // namespace qv::tools
