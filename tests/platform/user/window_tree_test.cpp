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
    Window& TopLevel(HWND owner = nullptr, DWORD exStyle = 0, std::u16string_view title = u"") {
        WindowCreation creation;
        creation.exStyle = exStyle;
        creation.title = title;
        creation.rect = {0, 0, 100, 100};
        return tree.Add(plain, tree.Desktop(), owner, creation, 1);
    }
    Window& Child(Window& parent, UINT_PTR id = 0) {
        WindowCreation creation;
        creation.style = WS_CHILD | WS_VISIBLE;
        creation.rect = {0, 0, 10, 10};
        creation.id = id;
        return tree.Add(plain, parent, nullptr, creation, 1);
    }

    WindowClass plain{1, u"Plain", WNDCLASSW{}};
    WindowClass other{2, u"Other", WNDCLASSW{}};
    WindowTree tree;
};

TEST_F(Tree, ANewWindowIsHiddenAndChildrenKeepCreationOrder) {
    Window& main = TopLevel();
    EXPECT_EQ(main.Stage(), Window::Life::Creating);
    EXPECT_EQ(main.Parent(), &tree.Desktop());
    EXPECT_EQ(main.Style() & WS_VISIBLE, 0u);  // shown only once made
    const Window& a = Child(main, 1);
    const Window& b = Child(main, 2);
    const Window& c = Child(main, 3);
    EXPECT_EQ(WindowTree::ChildHandles(main), (Handles{a.Handle(), b.Handle(), c.Handle()}));
    EXPECT_EQ(tree.Relative(c, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(tree.Relative(a, GW_HWNDPREV), nullptr);
    EXPECT_EQ(tree.Relative(a, GW_CHILD), nullptr);
    EXPECT_EQ(tree.Relative(tree.Desktop(), GW_HWNDNEXT), nullptr);
    EXPECT_TRUE(tree.InTree(main.Handle(), c.Handle()));
    EXPECT_TRUE(tree.InTree(c.Handle(), c.Handle()));
    EXPECT_FALSE(tree.InTree(a.Handle(), c.Handle()));
    EXPECT_FALSE(tree.InTree(main.Handle(), nullptr));
}

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
    EXPECT_EQ(tree.Relative(owned, GW_OWNER), owner.Handle());
    EXPECT_EQ(tree.Relative(owner, GW_OWNER), nullptr);
    // A window given to another owner follows the new one.
    EXPECT_EQ(tree.SetOwner(owned, stranger.Handle()), owner.Handle());
    tree.Restack(stranger);
    EXPECT_EQ(tree.TopLevelWindows(), (Handles{topmost.Handle(), ownedByOwned.Handle(),
                                               owned.Handle(), stranger.Handle(), owner.Handle()}));
}

TEST_F(Tree, RemovalTakesTheSubtreeChildrenFirstAndForgetsEveryHandle) {
    Window& main = TopLevel();
    Window& a = Child(main);
    const HWND a1 = Child(a).Handle();
    const HWND b = Child(main).Handle();
    const HWND handleOfA = a.Handle();
    const HWND handleOfMain = main.Handle();
    EXPECT_EQ(tree.Remove(a), (Handles{a1, handleOfA}));
    EXPECT_EQ(WindowTree::ChildHandles(main), (Handles{b}));
    EXPECT_EQ(tree.Find(a1), nullptr);
    EXPECT_EQ(tree.Find(handleOfA), nullptr);
    EXPECT_EQ(tree.Remove(main), (Handles{b, handleOfMain}));
    EXPECT_TRUE(tree.TopLevelWindows().empty());
    // Handles are never given again.
    EXPECT_NE(TopLevel().Handle(), handleOfMain);
}

TEST_F(Tree, LifeMovesOnlyForwardAndTheDesktopIsNeverDestroyed) {
    Window& main = TopLevel(nullptr, 0, u"Схема");
    EXPECT_FALSE(tree.MarkDestroying(tree.Desktop()));
    EXPECT_EQ(tree.FindTopLevel(u"Plain", u"Схема"), main.Handle());
    EXPECT_TRUE(tree.MarkDestroying(main));
    EXPECT_FALSE(tree.MarkDestroying(main));
    // A window destroyed while it was being made stays destroyed.
    tree.MarkAlive(main);
    EXPECT_EQ(main.Stage(), Window::Life::Destroying);
    // A window on its way out is not found by class and title.
    EXPECT_EQ(tree.FindTopLevel(u"Plain", u"Схема"), nullptr);
    Window& made = TopLevel(nullptr, 0, u"Схема");
    tree.MarkAlive(made);
    EXPECT_EQ(made.Stage(), Window::Life::Alive);
    EXPECT_EQ(tree.FindTopLevel(u"", std::nullopt), made.Handle());
    EXPECT_EQ(tree.FindTopLevel(u"Other", std::nullopt), nullptr);
    EXPECT_TRUE(tree.AnyOfClass(plain));
    EXPECT_FALSE(tree.AnyOfClass(other));
}

TEST_F(Tree, PlacingTellsWhatChangedAndNeverMakesANegativeSize) {
    Window& main = TopLevel();
    const WindowTree::Placement same = tree.Place(main, {0, 0, 100, 100}, 1);
    EXPECT_FALSE(same.moved);
    EXPECT_FALSE(same.resized);
    const WindowTree::Placement moved = tree.Place(main, {5, 6, 105, 106}, 1);
    EXPECT_TRUE(moved.moved);
    EXPECT_FALSE(moved.resized);
    const WindowTree::Placement inverted = tree.Place(main, {5, 6, 0, 0}, 1);
    EXPECT_FALSE(inverted.moved);
    EXPECT_TRUE(inverted.resized);
    EXPECT_EQ(main.Rect(), (RECT{5, 6, 5, 6}));
    EXPECT_EQ(main.ClientRect(), (RECT{0, 0, 0, 0}));
}

}  // namespace
}  // namespace qv
