#include "gallery/gallery_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "gallery/gallery_page.h"
#include "golden_picture.h"
#include "platform/controls/button.h"
#include "platform/host/headless_host.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"
#include "resources/main_toolbar.h"

namespace qv {
namespace {

TEST(GalleryScreens, TheTurningButtonsGoRoundAndAnOwnerDrawnOneShowsTheFocus) {
    HeadlessHost host;
    WindowSystem system(host);
    const gallery::DialogFonts fonts;
    ASSERT_TRUE(gallery::StartControls());
    const HWND page = gallery::MakePage(fonts, 1, true);
    EXPECT_EQ(SendMessageW(GetDlgItem(page, gallery::kNextScreen), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(fonts.normal.get()));
    std::size_t shown = 0;  // back from the first screen to the last, on to the first, back
    for (const int id :
         {gallery::kPreviousScreen, gallery::kNextScreen, gallery::kPreviousScreen}) {
        SCOPED_TRACE(id);
        SendMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0);
        MSG message;
        ASSERT_TRUE(
            PeekMessageW(&message, nullptr, gallery::kTurnScreen, gallery::kTurnScreen, PM_REMOVE));
        shown = gallery::TurnedScreen(shown, message.wParam != 0);
        EXPECT_EQ(shown, id == gallery::kNextScreen ? 0 : gallery::Screens().size() - 1);
    }
    SetFocus(GetDlgItem(page, 1));  // owner-drawn at (8,144)-(78,170): focus dots 2 pixels in
    system.Pump();
    EXPECT_EQ(host.LastFrame()->GetPixel(10, 146), RGB(0, 0, 0));     // the frame's corner
    EXPECT_EQ(host.LastFrame()->GetPixel(11, 147), RGB(0, 120, 60));  // inside: the fill
    DestroyWindow(page);
}

// Every screen at both scales against pictures looked at when they were made: any change in how a
// control draws one of its states shows here.
TEST(GalleryPictures, EveryScreenAtBothScalesLooksAsApproved) {
    SelectProgramLanguage(Language::Russian);
    for (const int scale : {1, 2}) {
        for (std::size_t i = 0; i < gallery::Screens().size(); ++i) {
            HeadlessHost host(scale);
            WindowSystem system(host);
            const gallery::DialogFonts fonts;
            ASSERT_TRUE(gallery::StartControls());
            const HWND shown = gallery::MakePage(fonts, i, false);
            system.Pump();
            testing::ExpectGoldenPicture(*host.LastFrame(),
                                         std::string(QV_TEST_DATA_DIR "/gallery/") +
                                             std::string(gallery::Screens()[i].name) + "-k" +
                                             std::to_string(scale) + ".png",
                                         0, 8);
            DestroyWindow(shown);
        }
    }
}

}  // namespace
}  // namespace qv
