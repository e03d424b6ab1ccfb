#include "platform/user/records/window_tree.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/system_metrics.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

RECT Normalised(const RECT& rect) {
    return {rect.left, rect.top, std::max(rect.right, rect.left), std::max(rect.bottom, rect.top)};
}

}  // namespace

WindowTree::WindowTree(WNDPROC desktopProcedure)
    : desktopClass_{0, u"#32769", WNDCLASSW{0, desktopProcedure}} {
    auto desktop = std::make_unique<Window>(table_.NewHandle(), &desktopClass_);
    desktop->life = Window::Life::Alive;
    desktop->style = WS_VISIBLE;
    desktop->rect = {0, 0, kScreenWidth, kScreenHeight};
    desktop->procedure = desktopProcedure;
    desktop_ = &table_.Add(std::move(desktop));
}

Window& WindowTree::Add(const WindowClass& windowClass, Window& parent, HWND owner,
                        const WindowCreation& creation, int scale) {
    auto made = std::make_unique<Window>(table_.NewHandle(), &windowClass);
    made->style = creation.style & ~WS_VISIBLE;
    made->exStyle = creation.exStyle;
    made->rect = Normalised(creation.rect);
    made->text = creation.title;
    made->parent = &parent;
    made->owner = owner;
    made->id = creation.id;
    made->instance = creation.instance;
    made->procedure = windowClass.attributes.lpfnWndProc;
    made->extraBytes.resize(static_cast<std::size_t>(windowClass.attributes.cbWndExtra));
    made->surface.Resize(made->Width(), made->Height(), scale);

    Window& window = table_.Add(std::move(made));
    if (parent.IsDesktop()) {
        parent.children.insert(parent.children.begin(), &window);
        Restack(window);
    } else {
        parent.children.push_back(&window);
    }
    return window;
}

void WindowTree::MarkAlive(Window& window) {
    if (window.life == Window::Life::Creating) {
        window.life = Window::Life::Alive;
    }
}

bool WindowTree::MarkDestroying(Window& window) {
    if (window.IsDesktop() || window.life == Window::Life::Destroying) {
        return false;
    }
    window.life = Window::Life::Destroying;
    return true;
}

std::vector<HWND> WindowTree::Remove(Window& window) {
    std::vector<HWND> removed;
    if (window.parent) {
        std::erase(window.parent->children, &window);
    }
    Unlink(window, removed);
    return removed;
}

void WindowTree::Unlink(Window& window, std::vector<HWND>& removed) {
    const std::vector<Window*> children = std::exchange(window.children, {});
    for (Window* child : children) {
        Unlink(*child, removed);
    }
    window.parent = nullptr;
    removed.push_back(window.Handle());
    table_.Retire(window.Handle());
}

WindowTree::Placement WindowTree::Place(Window& window, const RECT& rect, int scale) {
    const RECT next = Normalised(rect);
    Placement placement;
    placement.resized =
        next.right - next.left != window.Width() || next.bottom - next.top != window.Height();
    placement.moved = next.left != window.rect.left || next.top != window.rect.top;
    window.rect = next;
    if (placement.resized) {
        // The surface's pixels are gone with its old size.
        window.surface.Resize(window.Width(), window.Height(), scale);
    }
    return placement;
}

void WindowTree::Rescale(int scale) {
    for (Window* window : table_.All()) {
        if (!window->IsDesktop()) {
            window->surface.Resize(window->Width(), window->Height(), scale);
        }
    }
}

HWND WindowTree::SetOwner(Window& window, HWND owner) {
    return std::exchange(window.owner, owner);
}

void WindowTree::Restack(Window& topLevel) {
    auto& order = desktop_->children;
    std::erase(order, &topLevel);
    order.insert(order.begin(), &topLevel);
    // The windows a window owns stay above it, those they own above them, and so on; windows
    // owned at the same depth keep their order. Topmost windows stay above all others.
    struct Lifted {
        Window* window;
        std::size_t depth;
    };
    std::vector<Lifted> lifted;
    const auto isLifted = [&](const Window* w) {
        return std::any_of(lifted.begin(), lifted.end(),
                           [&](const Lifted& each) { return each.window == w; });
    };
    std::vector<Lifted> owners{{&topLevel, 0}};
    for (std::size_t i = 0; i < owners.size(); ++i) {
        for (Window* candidate : order) {
            if (candidate->owner == owners[i].window->Handle() && candidate != &topLevel &&
                !isLifted(candidate)) {
                lifted.push_back({candidate, owners[i].depth + 1});
                owners.push_back(lifted.back());
            }
        }
    }
    std::stable_sort(lifted.begin(), lifted.end(),
                     [](const Lifted& a, const Lifted& b) { return a.depth > b.depth; });
    for (auto it = lifted.rbegin(); it != lifted.rend(); ++it) {
        std::erase(order, it->window);
        order.insert(order.begin(), it->window);
    }
    std::stable_partition(order.begin(), order.end(),
                          [](const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; });
}

bool WindowTree::InTree(HWND root, HWND handle) const {
    for (const Window* window = Find(handle); window; window = window->parent) {
        if (window->Handle() == root) {
            return true;
        }
    }
    return false;
}

HWND WindowTree::Relative(const Window& window, UINT relation) const {
    if (relation == GW_CHILD) {
        return window.children.empty() ? nullptr : window.children.front()->Handle();
    }
    if (relation == GW_OWNER) {
        return window.IsChild() ? nullptr : window.owner;
    }
    if ((relation != GW_HWNDNEXT && relation != GW_HWNDPREV) || !window.parent) {
        return nullptr;
    }
    const std::vector<Window*>& siblings = window.parent->children;
    const auto at = std::find(siblings.begin(), siblings.end(), &window);
    if (at == siblings.end()) {
        return nullptr;
    }
    if (relation == GW_HWNDNEXT) {
        return at + 1 == siblings.end() ? nullptr : (*(at + 1))->Handle();
    }
    return at == siblings.begin() ? nullptr : (*(at - 1))->Handle();
}

std::vector<HWND> WindowTree::ChildHandles(const Window& window) {
    std::vector<HWND> handles;
    handles.reserve(window.children.size());
    for (const Window* child : window.children) {
        handles.push_back(child->Handle());
    }
    return handles;
}

HWND WindowTree::FindTopLevel(std::u16string_view className,
                              std::optional<std::u16string_view> title) const {
    for (const Window* window : desktop_->children) {
        if (window->life == Window::Life::Destroying) {
            continue;
        }
        if (!className.empty() && window->Class()->name != className) {
            continue;
        }
        if (title && window->text != *title) {
            continue;
        }
        return window->Handle();
    }
    return nullptr;
}

bool WindowTree::AnyOfClass(const WindowClass& windowClass) const {
    const std::vector<Window*> all = table_.All();
    return std::any_of(all.begin(), all.end(),
                       [&](const Window* w) { return w->Class() == &windowClass; });
}

}  // namespace qv
