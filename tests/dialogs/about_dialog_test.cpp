#include "dialogs/about_dialog.h"

#include <optional>

#include "framework/modal_dialog.h"
#include "page_test.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/full_screen.h"
#include "platform/pocket/shell_layout.h"
#include "resources/resource_ids.h"
#include "text/utf.h"

namespace qv {
namespace {

using Box = testing::ProbedPage<AboutDialog>;

class AboutBox : public testing::PageTest {
  protected:
    INT_PTR Run(Box& box) { return RunModalDialog(box, IDD_ABOUT, owner); }
    POINT Middle(HWND box, int id) {
        RECT rect;
        GetWindowRect(GetDlgItem(box, id), &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
};

// A page that is still open when the input runs out ends with the program's quit, not with a
// result of its own.
constexpr INT_PTR kStillOpen = 0;

TEST_F(AboutBox, ClosesOnPenUpAnywhereOrOnOkOrCancelButNotOnPenDown) {
    {
        Box box;
        box.onOpen = [&](HWND) { host.PenDown(120, 250); };
        EXPECT_EQ(Run(box), kStillOpen);
    }
    // On the name, low on the page, and in the strip the navigation bar left.
    for (const std::optional<POINT> place :
         {std::optional<POINT>(), std::optional(POINT{200, 300}), std::optional(POINT{5, 3})}) {
        Box box;
        box.onOpen = [&](HWND hwnd) {
            const POINT at = place.value_or(Middle(hwnd, IDC_ABOUT_PRODUCT));
            host.PenDown(at.x, at.y);
            host.PenUp(at.x, at.y);
        };
        EXPECT_EQ(Run(box), IDOK) << (place ? place->y : -1);
    }
    for (const int key : {VK_RETURN, VK_ESCAPE}) {
        Box box;
        box.onOpen = [&](HWND) { host.Key(key); };
        EXPECT_EQ(Run(box), IDOK) << key;
    }
}

// Over the whole screen, the bold name and the build's version; the task bar and the input
// panel's button hidden whenever the box is activated.
TEST_F(AboutBox, ShowsTheNameAndVersionAndHidesTheBarsWheneverActivated) {
    Box box;
    std::vector<bool> hidden;
    RECT placed{};
    LOGFONTW name;
    LOGFONTW version;
    std::u16string versionText;
    const auto look = [&](HWND hwnd) {
        hidden.push_back(TaskBarHidden(hwnd));
        hidden.push_back(SipButtonHidden(hwnd));
    };
    box.onOpen = [&](HWND hwnd) {
        GetWindowRect(hwnd, &placed);
        const auto fontOf = [&](int id, LOGFONTW& font) {
            const LRESULT handle = SendMessageW(GetDlgItem(hwnd, id), WM_GETFONT, 0, 0);
            ASSERT_NE(handle, 0);
            GetObjectW(reinterpret_cast<HGDIOBJ>(handle), sizeof(font), &font);
        };
        fontOf(IDC_ABOUT_PRODUCT, name);
        fontOf(IDC_ABOUT_VERSION, version);
        versionText = GetWindowText(GetDlgItem(hwnd, IDC_ABOUT_VERSION));
        look(hwnd);
        SHFullScreen(hwnd, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON);
        // Another program comes to the front: the box, inactive, leaves the bars alone.
        const HWND other =
            testing::MakePlainWindow(WS_POPUP | WS_VISIBLE, {0, 0, 240, 320}, u"Другая");
        SetActiveWindow(other);
        look(hwnd);
        SetActiveWindow(hwnd);
        look(hwnd);
        DestroyWindow(other);
        host.Key(VK_ESCAPE);
    };
    EXPECT_EQ(Run(box), IDOK);
    EXPECT_EQ(hidden, (std::vector<bool>{true, true, false, false, true, true}));
    EXPECT_EQ(placed, (RECT{0, 0, kScreenWidth, kScreenHeight}));
    EXPECT_EQ(name.lfWeight, FW_BOLD);
    EXPECT_NE(version.lfWeight, FW_BOLD);
    EXPECT_EQ(versionText, u"Вер. " + *Utf8ToUtf16(QV_TEST_VERSION));
}

}  // namespace
}  // namespace qv
