#include "platform/user/records/window.h"

#include <cstring>
#include <utility>

#include "platform/user/records/window_styles.h"

namespace qv {

bool Window::IsChild() const {
    return (style & WS_CHILD) != 0;
}

bool Window::IsShown() const {
    for (const Window* w = this; w && !w->IsDesktop(); w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

bool Window::IsEnabledTree() const {
    for (const Window* w = this; w && !w->IsDesktop(); w = w->parent) {
        if ((w->style & WS_DISABLED) != 0) {
            return false;
        }
    }
    return true;
}

Window& Window::TopLevel() {
    Window* w = this;
    while (w->parent && !w->parent->IsDesktop()) {
        w = w->parent;
    }
    return *w;
}

const Window& Window::TopLevel() const {
    return const_cast<Window*>(this)->TopLevel();
}

RECT Window::ClientRect() const {
    const RECT insets = FrameInsets();
    const int width = Width() - insets.left - insets.right;
    const int height = Height() - insets.top - insets.bottom;
    return {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
}

POINT Window::ScreenOrigin() const {
    if (!parent) {
        return {rect.left, rect.top};
    }
    const POINT client = parent->ClientScreenOrigin();
    return {client.x + rect.left, client.y + rect.top};
}

POINT Window::ClientScreenOrigin() const {
    const POINT origin = ScreenOrigin();
    const POINT inside = ClientOriginInSurface();
    return {origin.x + inside.x, origin.y + inside.y};
}

POINT Window::ClientOriginInSurface() const {
    const RECT insets = FrameInsets();
    return {insets.left, insets.top};
}

DWORD Window::SetStyle(DWORD value) {
    return std::exchange(style, value);
}

DWORD Window::SetExStyle(DWORD value) {
    return std::exchange(exStyle, value);
}

UINT_PTR Window::SetId(UINT_PTR value) {
    return std::exchange(id, value);
}

WNDPROC Window::SetProcedure(WNDPROC value) {
    return std::exchange(procedure, value);
}

LONG_PTR Window::SetUserData(LONG_PTR value) {
    return std::exchange(userData, value);
}

HICON Window::Icon(IconSize size) const {
    return size == IconSize::Big ? bigIcon : smallIcon;
}

HICON Window::SetIcon(IconSize size, HICON icon) {
    return std::exchange(size == IconSize::Big ? bigIcon : smallIcon, icon);
}

std::optional<LONG_PTR> Window::ExtraValue(int offset) const {
    if (offset < 0 || static_cast<std::size_t>(offset) + sizeof(LONG_PTR) > extraBytes.size()) {
        return std::nullopt;
    }
    LONG_PTR value;
    std::memcpy(&value, extraBytes.data() + offset, sizeof(value));
    return value;
}

std::optional<LONG_PTR> Window::SetExtraValue(int offset, LONG_PTR value) {
    const std::optional<LONG_PTR> previous = ExtraValue(offset);
    if (previous) {
        std::memcpy(extraBytes.data() + offset, &value, sizeof(value));
    }
    return previous;
}

std::optional<LONG_PTR> Window::Property(std::u16string_view name) const {
    const auto found = properties.find(name);
    return found == properties.end() ? std::nullopt : std::optional<LONG_PTR>(found->second);
}

void Window::SetProperty(std::u16string_view name, LONG_PTR value) {
    properties.insert_or_assign(std::u16string(name), value);
}

std::optional<LONG_PTR> Window::RemoveProperty(std::u16string_view name) {
    const auto found = properties.find(name);
    if (found == properties.end()) {
        return std::nullopt;
    }
    const LONG_PTR value = found->second;
    properties.erase(found);
    return value;
}

void Window::AddInvalid(const RECT& area, bool erase) {
    invalid.Add(area);
    eraseWanted = eraseWanted || erase;
}

void Window::RemoveInvalid(const RECT* area) {
    if (area) {
        invalid.Remove(*area);
    } else {
        invalid.Clear();
    }
    if (invalid.Empty()) {
        eraseWanted = false;
    }
}

Window::PaintArea Window::TakePaintArea() {
    ++paintsBegun;
    PaintArea taken{invalid.Rectangles(), invalid.Bounds(), eraseWanted};
    invalid.Clear();
    eraseWanted = false;
    return taken;
}

}  // namespace qv
