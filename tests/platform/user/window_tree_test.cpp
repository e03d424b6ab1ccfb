#include "platform/user/records/window_tree.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using Handles = std::vector<HWND>;

// The tree on its own: no window system, no messages.
class Tree : public ::testing::Test {
  protected:
    Window& TopLevel(HWND owner = nullptr, DWORD exStyle = 0) {
        WindowCreation creation;
        creation.exStyle = exStyle;
        creation.rect = {0, 0, 100, 100};
        return tree.Add(plain, tree.Desktop(), owner, creation, 1);
    }

    WindowClass plain{1, u"Plain", WNDCLASSW{}};
    WindowTree tree;
};

TEST_F(Tree, RestackingLiftsTheWholeOwnedChainAndKeepsTopmostWindowsAbove) {
    Window& topmost = TopLevel(nullptr, WS_EX_TOPMOST);
    Window& owner = TopLevel();
    Window& owned = TopLevel(owner.Handle());
    Window& ownedByOwned = TopLevel(owned.Handle());
    Window& stranger = TopLevel();
    // The newest on top, below the topmost one.
    EXPECT_EQ(tree.TopLevelWindows(),
              (Handles{topmost.Handle(), stranger.Handle(), ownedByOwned.Handle(), owned.Handle(),
                       owner.Handle()}));
    tree.Restack(owner);
    EXPECT_EQ(tree.TopLevelWindows(), (Handles{topmost.Handle(), ownedByOwned.Handle(),
                                               owned.Handle(), owner.Handle(), stranger.Handle()}));
    // A window given to another owner follows the new one.
    EXPECT_EQ(tree.SetOwner(owned, stranger.Handle()), owner.Handle());
    tree.Restack(stranger);
    EXPECT_EQ(tree.TopLevelWindows(), (Handles{topmost.Handle(), ownedByOwned.Handle(),
                                               owned.Handle(), stranger.Handle(), owner.Handle()}));
}

}  // namespace
}  // namespace qv
