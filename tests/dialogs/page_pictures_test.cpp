#include <cstdlib>

#include "dialogs/about_dialog.h"
#include "dialogs/settings_dialog.h"
#include "framework/modal_dialog.h"
#include "page_test.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/pocket/shell_layout.h"
#include "resources/resource_ids.h"

namespace qv {
namespace {

// The pages as the screen shows them, at the device's size and doubled. With QV_PAGE_PICTURES
// set to a folder, the pictures are written there to be looked at.
class PagePictures : public testing::PageTest, public ::testing::WithParamInterface<int> {
  protected:
    PagePictures() : PageTest(GetParam()) {}

    // Runs the page until the input runs out, with the screen as it was last shown.
    template <typename Page>
    const Bitmap& Picture(Page& page, int templateId, const char* name) {
        RunModalDialog(page, templateId, owner);
        if (const char* pictures = std::getenv("QV_PAGE_PICTURES")) {
            host.WriteScreenshot(std::string(pictures) + "/" + name + "-" +
                                 std::to_string(GetParam()) + "x.png");
        }
        EXPECT_NE(host.LastFrame(), nullptr);
        return *host.LastFrame();
    }
    // Whether some pixel of the screen rows, inside the page's border, is drawn in black.
    static bool InkIn(const Bitmap& frame, int top, int bottom) {
        const int scale = GetParam();
        for (int y = top * scale; y < bottom * scale; ++y) {
            for (int x = 2 * scale; x < frame.DeviceWidth() - 2 * scale; ++x) {
                if (frame.GetPixel(x, y) == 0) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_P(PagePictures, SettingsFillTheScreenBelowTheNavigationBar) {
    SettingsDialog settings(settingsPath);
    const Bitmap& picture = Picture(settings, IDD_SETTINGS, "settings");
    EXPECT_EQ(picture.DeviceWidth(), kScreenWidth * GetParam());
    // The first heading sits right below the navigation bar; the page reaches the bottom.
    EXPECT_TRUE(InkIn(picture, kNavigationBarHeight, kNavigationBarHeight + 12));
    EXPECT_TRUE(InkIn(picture, kScreenHeight - 60, kScreenHeight));
}

TEST_P(PagePictures, AboutShowsItsLinesAndNothingBelowThem) {
    AboutDialog about;
    const Bitmap& picture = Picture(about, IDD_ABOUT, "about");
    EXPECT_TRUE(InkIn(picture, kNavigationBarHeight, kNavigationBarHeight + 20));
    EXPECT_FALSE(InkIn(picture, kNavigationBarHeight + 120, kScreenHeight - 3));
}

INSTANTIATE_TEST_SUITE_P(Scales, PagePictures, ::testing::Values(1, 2));

}  // namespace
}  // namespace qv
