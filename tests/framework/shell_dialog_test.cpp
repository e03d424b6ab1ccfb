#include "platform/pocket/shell_dialog.h"

#include <gtest/gtest.h>

#include "framework_test.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/default_window_procedure.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_styles.h"

namespace qv {
namespace {

class ShellDialog : public testing::FrameworkTest {
  protected:
    ShellDialog() {
        WNDCLASSW attributes;
        attributes.lpfnWndProc = DefWindowProcW;
        attributes.lpszClassName = u"Page";
        RegisterClassW(&attributes);
        page = CreateWindowExW(0, u"Page", u"", WS_POPUP, 30, 40, 100, 100, nullptr, 0, nullptr,
                               nullptr);
    }
    RECT SetUp(DWORD flags) {
        SHINITDLGINFO info{SHIDIM_FLAGS, page, flags};
        EXPECT_TRUE(SHInitDialog(&info));
        RECT rect;
        GetWindowRect(page, &rect);
        return rect;
    }
    HWND page = nullptr;
};

TEST_F(ShellDialog, SizesThePageBelowTheNavigationBar) {
    EXPECT_EQ(SetUp(SHIDIF_SIZEDLG), WorkArea());
    EXPECT_EQ(GetPropW(page, kDoneButtonProperty), 0);
    const RECT fullScreen{0, kNavigationBarHeight, kScreenWidth, kScreenHeight};
    EXPECT_EQ(SetUp(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN), fullScreen);
    EXPECT_EQ(GetPropW(page, kDoneButtonProperty), 1);
    EXPECT_EQ(SetUp(SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR), fullScreen);
}

TEST_F(ShellDialog, APageLeavesItsCaptionToTheNavigationBar) {
    SetWindowLongW(page, GWL_STYLE, WS_POPUP | WS_CAPTION);
    SetWindowTextW(page, u"Станции");
    SetUp(SHIDIF_SIPDOWN);
    EXPECT_EQ(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "not a page";
    const RECT rect = SetUp(SHIDIF_SIZEDLGFULLSCREEN);
    EXPECT_EQ(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION, WS_BORDER);
    RECT client;
    GetClientRect(page, &client);
    EXPECT_EQ(client.bottom, rect.bottom - rect.top - 2) << "inside the border only";
    char16_t title[16];
    EXPECT_EQ(GetWindowTextW(page, title, 16), 7);
}

TEST_F(ShellDialog, RefusesWhatIsNotADialogSetUp) {
    SHINITDLGINFO noFlags{0, page, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&noFlags));
    DestroyWindow(page);
    SHINITDLGINFO gone{SHIDIM_FLAGS, page, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&gone));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

}  // namespace
}  // namespace qv
