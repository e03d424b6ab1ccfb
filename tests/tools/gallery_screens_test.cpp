#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gallery/gallery_page.h"
#include "gallery/image_screens.h"
#include "gallery/list_screens.h"
#include "gallery/shell_screens.h"
#include "platform/controls/button.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/tab_control.h"
#include "platform/host/headless_host.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

class GalleryScreens : public ::testing::Test {
  protected:
    GalleryScreens() {
        INITCOMMONCONTROLSEX families;
        families.dwICC = ICC_STANDARD_CLASSES;
        EXPECT_TRUE(InitCommonControlsEx(&families));
        EXPECT_TRUE(gallery::RegisterPageClass());
        page = CreateWindowExW(0, gallery::kPageClassName, u"", WS_VISIBLE, 0, 0, 240, 320, nullptr,
                               0, nullptr, nullptr);
    }
    ~GalleryScreens() override { DestroyWindow(page); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND page = nullptr;

    // Silver pixels of the screen in the rows [top, bottom) of the toolbar strip's columns.
    int SilverInRows(int top, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 84; x < 84 + 9 * 16; ++x) {
                count += host.LastFrame()->GetPixel(x, y) == RGB(192, 192, 192);
            }
        }
        return count;
    }
};

TEST_F(GalleryScreens, TheMaskedToolbarStripShowsNoSilverAndThePageItsBoxChecked) {
    gallery::BuildToolbarImageScreen({page, nullptr, nullptr});
    system.Pump();
    EXPECT_GT(SilverInRows(50, 66), 0);  // the strip as it is
    EXPECT_EQ(SilverInRows(70, 86), 0);  // masked, on the chequer
    gallery::BuildShellPageScreen({page, nullptr, nullptr});
    EXPECT_EQ(IsDlgButtonChecked(FindWindowW(u"#32770", nullptr), 1056), BST_CHECKED);
}

TEST_F(GalleryScreens, AnOwnerDrawnButtonsTextStandsOutOfItsFill) {
    gallery::AddControl({page, nullptr, nullptr}, kButtonClassName, u"ШШШ", BS_OWNERDRAW,
                        {8, 8, 80, 30}, 1);
    system.Pump();
    int white = 0;
    for (int i = 0; i < 68 * 18; ++i) {
        white += host.LastFrame()->GetPixel(10 + i % 68, 10 + i / 68) == RGB(255, 255, 255);
    }
    EXPECT_GT(white, 10);
}

TEST_F(GalleryScreens, TheTurningButtonsAskForTheirOwnDirection) {
    const gallery::Page shown{page, nullptr, nullptr};
    for (const int id :
         {gallery::kPreviousScreen, gallery::kNextScreen, gallery::kPreviousScreen}) {
        SCOPED_TRACE(id);
        const HWND button = gallery::AddControl(shown, kButtonClassName, u"<", BS_PUSHBUTTON,
                                                {8, 292, 48, 314}, id);
        SendMessageW(button, BM_CLICK, 0, 0);
        MSG message;
        ASSERT_TRUE(
            PeekMessageW(&message, nullptr, gallery::kTurnScreen, gallery::kTurnScreen, PM_REMOVE));
        EXPECT_EQ(message.wParam, id == gallery::kNextScreen ? 1U : 0U);
        DestroyWindow(button);
    }
}

TEST_F(GalleryScreens, TwentyLetterTabsShareOneRowAndTwentyOneTwo) {
    BuildTabScreen(page);
    const HWND panel = GetWindow(page, GW_CHILD);
    ASSERT_NE(panel, nullptr);
    std::vector<LRESULT> rows;
    for (HWND tabs = GetWindow(panel, GW_CHILD); tabs; tabs = GetWindow(tabs, GW_HWNDNEXT)) {
        rows.push_back(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0));
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<LRESULT>{1, 2, 2}));
}

}  // namespace
}  // namespace qv
