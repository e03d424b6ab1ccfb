#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/user/invalid_area.h"
#include "platform/user/window_class.h"
#include "platform/user/window_surface.h"

namespace qv {

// One window: its place in the tree, its attributes and what is left to paint. The window
// system owns every window; the pointers here only refer.
class Window {
  public:
    enum class Life { Creating, Alive, Destroying, Gone };
    Window(HWND handle, const WindowClass* windowClass) : handle_(handle), class_(windowClass) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return handle_; }
    const WindowClass* Class() const { return class_; }

    bool IsChild() const;
    bool IsDesktop() const { return parent == nullptr; }
    // Visible itself and all its parents.
    bool IsShown() const;
    // Enabled itself and all its parents.
    bool IsEnabledTree() const;
    Window& TopLevel();

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

    Life life = Life::Creating;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // in the parent's client coordinates; a top-level window's are the screen's
    std::u16string text;
    Window* parent = nullptr;       // the desktop for top-level windows
    HWND owner = nullptr;           // the window a top-level window belongs to
    std::vector<Window*> children;  // the top of the z-order first, as GetWindow walks them
    UINT_PTR id = 0;
    HINSTANCE instance = nullptr;
    WNDPROC procedure = nullptr;
    LONG_PTR userData = 0;
    std::vector<std::byte> extraBytes;
    HFONT font = nullptr;
    UniqueFont ownedFont;  // a font made for this window, released with it
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::map<std::u16string, LONG_PTR, std::less<>> properties;

    InvalidArea invalid;
    bool eraseWanted = false;
    int paintsBegun = 0;
    WindowSurface surface;
    int activeCalls = 0;  // messages being handled; the record outlives its destruction until 0

  private:
    HWND handle_;
    const WindowClass* class_;
    RECT frameInsets_{};
};

}  // namespace qv
