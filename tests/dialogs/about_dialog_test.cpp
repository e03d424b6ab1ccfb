#include "dialogs/about_dialog.h"

#include <optional>

#include "framework/modal_dialog.h"
#include "page_test.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/full_screen.h"
#include "platform/pocket/shell_dialog.h"
#include "resources/resource_ids.h"
#include "text/utf.h"

namespace qv {
namespace {

class AboutBox : public testing::PageTest {
  protected:
    // A box still open when the host's time runs out ends with the program's quit: 0.
    INT_PTR Open(const Step& step) {
        AboutDialog box;
        INT_PTR result = -1;
        Run({step}, [&] { result = RunModalDialog(box, IDD_ABOUT, owner); });
        return result;
    }
};

// Over the whole screen, the build's version, an "ok" asked for; the task bar and the input panel's
// button hidden whenever the box is activated; closed on a pen up anywhere, OK or cancel.
TEST_F(AboutBox, ShowsTheNameAndVersionHidesTheBarsAndClosesOnPenUpOrKeys) {
    std::vector<bool> hidden;
    EXPECT_EQ(Open([&](HWND box) {
                  const auto look = [&] {
                      hidden.push_back(TaskBarHidden(box));
                      hidden.push_back(SipButtonHidden(box));
                  };
                  EXPECT_EQ(GetWindowText(GetDlgItem(box, IDC_ABOUT_VERSION)),
                            u"Вер. " + *Utf8ToUtf16(QV_TEST_VERSION));
                  EXPECT_EQ(GetPropW(box, kDoneButtonProperty), 1);
                  look();
                  SHFullScreen(box, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON);
                  // Another program comes to the front: the box, inactive, leaves the bars alone.
                  const HWND other =
                      testing::MakePlainWindow(WS_POPUP | WS_VISIBLE, {0, 0, 240, 320}, u"Другая");
                  SetActiveWindow(other);
                  look();
                  SetActiveWindow(box);
                  look();
                  DestroyWindow(other);
                  host.Key(VK_ESCAPE);
              }),
              IDOK);
    EXPECT_EQ(hidden, (std::vector<bool>{true, true, false, false, true, true}));

    EXPECT_EQ(Open([&](HWND) { host.Key(VK_RETURN); }), IDOK);
    // On the name, low on the page, and in the strip the navigation bar left.
    for (const std::optional<POINT> place :
         {std::optional<POINT>(), std::optional(POINT{200, 300}), std::optional(POINT{5, 3})}) {
        EXPECT_EQ(Open([&](HWND box) {
                      const RECT name = ScreenRect(GetDlgItem(box, IDC_ABOUT_PRODUCT));
                      const POINT at = place.value_or(
                          POINT{(name.left + name.right) / 2, (name.top + name.bottom) / 2});
                      host.PenDown(at.x, at.y);
                      host.PenUp(at.x, at.y);
                  }),
                  IDOK)
            << (place ? place->y : -1);
    }
    // Not on a pen down; last, as the host ends its run once its time is out.
    EXPECT_EQ(Open([&](HWND) { host.PenDown(120, 250); }), 0);
}

}  // namespace
}  // namespace qv
