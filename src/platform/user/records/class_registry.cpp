#include "platform/user/records/class_registry.h"

#include <algorithm>

#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

bool NameMatches(const WindowClass& windowClass, ClassAtomOrName which) {
    return which.Atom() != 0 ? windowClass.atom == which.Atom() : windowClass.name == which.Name();
}

}  // namespace

ATOM ClassRegistry::Register(const WNDCLASSW& attributes) {
    if (!attributes.lpszClassName || attributes.lpszClassName[0] == u'\0' ||
        !attributes.lpfnWndProc || attributes.cbWndExtra < 0 || attributes.cbClsExtra < 0) {
        return 0;
    }
    const std::u16string_view name = attributes.lpszClassName;
    const bool taken = std::any_of(classes_.begin(), classes_.end(), [&](const auto& existing) {
        return existing->name == name && existing->attributes.hInstance == attributes.hInstance;
    });
    if (taken || nextAtom_ == 0xFFFF) {
        return 0;
    }
    auto windowClass = std::make_unique<WindowClass>();
    windowClass->atom = nextAtom_++;
    windowClass->name = name;
    windowClass->attributes = attributes;
    windowClass->attributes.lpszClassName = windowClass->name.c_str();
    windowClass->attributes.lpszMenuName = nullptr;
    classes_.push_back(std::move(windowClass));
    return classes_.back()->atom;
}

bool ClassRegistry::Unregister(ClassAtomOrName which, HINSTANCE module) {
    const auto found = std::find_if(classes_.begin(), classes_.end(), [&](const auto& existing) {
        return NameMatches(*existing, which) && existing->attributes.hInstance == module;
    });
    if (found == classes_.end()) {
        return false;
    }
    classes_.erase(found);
    return true;
}

const WindowClass* ClassRegistry::Find(ClassAtomOrName which, HINSTANCE module) const {
    // The module's own class first, then a global class or one of the system's.
    const WindowClass* fallback = nullptr;
    for (const auto& existing : classes_) {
        if (!NameMatches(*existing, which)) {
            continue;
        }
        const HINSTANCE owner = existing->attributes.hInstance;
        if (module && owner == module) {
            return existing.get();
        }
        if (!owner || (existing->attributes.style & CS_GLOBALCLASS) != 0) {
            fallback = existing.get();
        }
    }
    return fallback;
}

}  // namespace qv
