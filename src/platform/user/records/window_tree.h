#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/user/records/window.h"
#include "platform/user/records/window_table.h"

namespace qv {

// What CreateWindowExW was asked for.
struct WindowCreation {
    DWORD exStyle = 0;
    ClassAtomOrName className{ATOM{0}};
    std::u16string_view title;
    DWORD style = 0;
    RECT rect{};
    HWND parent = nullptr;
    UINT_PTR id = 0;
    HINSTANCE instance = nullptr;
    void* parameter = nullptr;
};

// The windows and where each one stands: the desktop at the root, every window's parent and
// children, the owners of top-level windows, and the order of siblings, the top first. A new
// child goes below its siblings, so that z-order is creation order (as a dialog's template order
// is its tab order); a new top-level window goes on top, with the windows it owns above it and
// topmost windows above all. The tree sends no messages: the window system tells windows what
// happens to them.
class WindowTree {
  public:
    // How a window's rectangle changed.
    struct Placement {
        bool moved = false;
        bool resized = false;
    };

    // The desktop, the root of the tree, has the procedure given.
    explicit WindowTree(WNDPROC desktopProcedure = nullptr);
    WindowTree(const WindowTree&) = delete;
    WindowTree& operator=(const WindowTree&) = delete;

    Window& Desktop() { return *desktop_; }
    const Window& Desktop() const { return *desktop_; }
    Window* Find(HWND handle) const { return table_.Find(handle); }
    // A handle no window of this process has had before.
    HWND NewHandle() { return table_.NewHandle(); }
    std::vector<Window*> All() const { return table_.All(); }
    // Keeps the window's record while one of its messages is handled.
    [[nodiscard]] WindowTable::Pin Pin(Window& window) { return {table_, window}; }

    // Makes a window of the class, hidden, with all its client area to paint, and links it under
    // the parent (the desktop for a top-level window, then `owner` is the one it belongs to).
    Window& Add(const WindowClass& windowClass, Window& parent, HWND owner,
                const WindowCreation& creation, int scale);
    // The window's creation is over, unless it is already being destroyed.
    void MarkAlive(Window& window);
    // False when the window is the desktop or already being destroyed.
    bool MarkDestroying(Window& window);
    // Unlinks the window and everything below it and lets their records go; their handles,
    // children before parents, for whoever still names them.
    std::vector<HWND> Remove(Window& window);

    // Moves and sizes the window; a new size gives it a fresh surface at the scale.
    Placement Place(Window& window, const RECT& rect, int scale);
    // Fresh surfaces for every window at a new scale.
    void Rescale(int scale);
    // The previous owner.
    HWND SetOwner(Window& window, HWND owner);
    // Puts a top-level window on top, with the windows it owns above it.
    void Restack(Window& topLevel);

    // Whether the window is the root or lies inside it.
    bool InTree(HWND root, HWND handle) const;
    // GW_CHILD, GW_HWNDNEXT, GW_HWNDPREV or GW_OWNER of the window; null when there is none.
    HWND Relative(const Window& window, UINT relation) const;
    // The window's children, the top first.
    static std::vector<HWND> ChildHandles(const Window& window);
    // Top-level windows, the top of the z-order first.
    std::vector<HWND> TopLevelWindows() const { return ChildHandles(*desktop_); }
    // The first top-level window not being destroyed with the class (any when empty) and the
    // title (any when none), the top of the z-order first.
    HWND FindTopLevel(std::u16string_view className,
                      std::optional<std::u16string_view> title) const;
    // Whether any window of the class exists.
    bool AnyOfClass(const WindowClass& windowClass) const;

  private:
    void Unlink(Window& window, std::vector<HWND>& removed);

    WindowClass desktopClass_;
    WindowTable table_;
    Window* desktop_ = nullptr;
};

}  // namespace qv
