#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/records/invalid_area.h"
#include "platform/user/records/window_class.h"
#include "platform/user/records/window_surface.h"

namespace qv {

// One window: its place in the tree, its attributes and what is left to paint. The window tree
// owns every window and alone changes its place (parent, children, owner, rectangle, stage of
// life); the window's own attributes change through the named operations below. The pointers
// here only refer.
class Window {
  public:
    enum class Life { Creating, Alive, Destroying, Gone };
    enum class IconSize { Big, Small };

    // What a paint takes over: the invalid rectangles, their bounds, and whether to erase.
    struct PaintArea {
        std::vector<RECT> rectangles;
        RECT bounds{};
        bool erase = false;
    };

    Window(HWND handle, const WindowClass* windowClass) : handle_(handle), class_(windowClass) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return handle_; }
    const WindowClass* Class() const { return class_; }
    Life Stage() const { return life; }

    // The tree.
    Window* Parent() const { return parent; }  // the desktop for top-level windows
    HWND Owner() const { return owner; }       // the window a top-level window belongs to
    // The top of the z-order first, as GetWindow walks them.
    const std::vector<Window*>& Children() const { return children; }
    bool IsChild() const;
    bool IsDesktop() const { return parent == nullptr; }
    // Visible itself and all its parents.
    bool IsShown() const;
    // Enabled itself and all its parents.
    bool IsEnabledTree() const;
    Window& TopLevel();
    const Window& TopLevel() const;

    // Geometry.
    // In the parent's client coordinates; a top-level window's are the screen's.
    const RECT& Rect() const { return rect; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
    // How far the client area lies inside the window rectangle on each side, as the window
    // answered WM_NCCALCSIZE.
    RECT FrameInsets() const { return frameInsets_; }
    void SetFrameInsets(const RECT& insets) { frameInsets_ = insets; }
    // The client area in client coordinates: (0, 0) at its top left.
    RECT ClientRect() const;
    // Where the window's top left and its client area's top left lie on the screen.
    POINT ScreenOrigin() const;
    POINT ClientScreenOrigin() const;
    // Where the client area lies inside the window's own surface.
    POINT ClientOriginInSurface() const;

    // Attributes; each change returns the value it replaced.
    DWORD Style() const { return style; }
    DWORD SetStyle(DWORD value);
    DWORD ExStyle() const { return exStyle; }
    DWORD SetExStyle(DWORD value);
    UINT_PTR Id() const { return id; }
    UINT_PTR SetId(UINT_PTR value);
    HINSTANCE Instance() const { return instance; }
    WNDPROC Procedure() const { return procedure; }
    WNDPROC SetProcedure(WNDPROC value);
    LONG_PTR UserData() const { return userData; }
    LONG_PTR SetUserData(LONG_PTR value);
    const std::u16string& Text() const { return text; }
    void SetText(std::u16string_view value) { text = value; }
    HFONT Font() const { return font; }
    void SetFont(HFONT value) { font = value; }
    // Keeps a font made for this window until the window goes.
    void KeepFont(UniqueFont made) { ownedFont = std::move(made); }
    HICON Icon(IconSize size) const;
    HICON SetIcon(IconSize size, HICON icon);
    // A pointer-sized value in the class's extra bytes; nothing when the slot does not fit.
    std::optional<LONG_PTR> ExtraValue(int offset) const;
    std::optional<LONG_PTR> SetExtraValue(int offset, LONG_PTR value);
    std::optional<LONG_PTR> Property(std::u16string_view name) const;
    void SetProperty(std::u16string_view name, LONG_PTR value);
    std::optional<LONG_PTR> RemoveProperty(std::u16string_view name);

    // Painting.
    const InvalidArea& Invalid() const { return invalid; }
    bool EraseWanted() const { return eraseWanted; }
    // How many paints have begun; a paint handler that never begins one is noticed by this.
    int PaintsBegun() const { return paintsBegun; }
    // A later invalidation without erasing never cancels an erase still to come.
    void AddInvalid(const RECT& area, bool erase);
    // The whole area when no rectangle is given; the erase goes with the last of it.
    void RemoveInvalid(const RECT* area);
    // Begins a paint: what was invalid is valid from here on, and returned.
    PaintArea TakePaintArea();
    WindowSurface& Surface() { return surface; }

  private:
    friend class WindowTree;
    friend class WindowTable;

    Life life = Life::Creating;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    std::u16string text;
    Window* parent = nullptr;
    HWND owner = nullptr;
    std::vector<Window*> children;
    UINT_PTR id = 0;
    HINSTANCE instance = nullptr;
    WNDPROC procedure = nullptr;
    LONG_PTR userData = 0;
    std::vector<std::byte> extraBytes;
    HFONT font = nullptr;
    UniqueFont ownedFont;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::map<std::u16string, LONG_PTR, std::less<>> properties;

    InvalidArea invalid;
    bool eraseWanted = false;
    int paintsBegun = 0;
    WindowSurface surface;
    int activeCalls = 0;  // messages being handled; the record outlives its destruction until 0

    HWND handle_;
    const WindowClass* class_;
    RECT frameInsets_{};
};

}  // namespace qv
