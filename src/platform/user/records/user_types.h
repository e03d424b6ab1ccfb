#pragma once

// Handles, records and parameter packing of the window layer, named as the pocket computer's
// window interface names them.

#include <cstdint>

#include "platform/gdi/resource_module.h"

namespace qv {

using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using SHORT = std::int16_t;
using ATOM = std::uint16_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using HRESULT = std::int32_t;

// A window. The value names the window; it is never dereferenced, and a destroyed window's
// value is never given to another window.
struct WindowHandle;
using HWND = WindowHandle*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

class Cursor;
using HCURSOR = const Cursor*;
class AcceleratorTable;
using HACCEL = AcceleratorTable*;

constexpr WORD LOWORD(std::uintptr_t value) {
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t value) {
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(static_cast<DWORD>((static_cast<DWORD>(low) & 0xFFFF) |
                                                  ((static_cast<DWORD>(high) & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(int low, int high) {
    return static_cast<WPARAM>(MAKELPARAM(low, high)) & 0xFFFFFFFF;
}
// A packed coordinate read back with its sign, as positions left of or above a window are.
constexpr int GET_X_LPARAM(LPARAM value) {
    return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(value)));
}
constexpr int GET_Y_LPARAM(LPARAM value) {
    return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(value)));
}

// Handles and pointers carried in message parameters.
inline WPARAM HandleParam(HWND window) {
    return reinterpret_cast<WPARAM>(window);
}
inline HWND HandleFromParam(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}
template <typename T>
LPARAM PointerParam(T* pointer) {
    return reinterpret_cast<LPARAM>(pointer);
}
template <typename T>
T* PointerFromParam(LPARAM value) {
    return reinterpret_cast<T*>(value);
}

// Procedures kept in a window's slots.
template <typename Procedure>
LONG_PTR ProcedureToLong(Procedure procedure) {
    return reinterpret_cast<LONG_PTR>(procedure);
}
template <typename Procedure>
Procedure LongToProcedure(LONG_PTR value) {
    return reinterpret_cast<Procedure>(value);
}

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt{};
};

struct WNDCLASSW {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const char16_t* lpszMenuName = nullptr;
    const char16_t* lpszClassName = nullptr;
};

struct CREATESTRUCTW {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    UINT_PTR id = 0;  // the control id; windows here have no menus
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const char16_t* lpszName = nullptr;
    const char16_t* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = 0;
    RECT rcPaint{};
};

struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};

// A window class named by its atom or by its name.
class ClassAtomOrName {
  public:
    ClassAtomOrName(ATOM atom) : atom_(atom) {}
    ClassAtomOrName(const char16_t* name) : name_(name ? name : u"") {}
    ClassAtomOrName(std::u16string_view name) : name_(name) {}

    ATOM Atom() const { return atom_; }
    std::u16string_view Name() const { return name_; }

  private:
    ATOM atom_ = 0;
    std::u16string_view name_;
};

}  // namespace qv
