#pragma once

#include <memory>
#include <vector>

#include "platform/user/records/window_class.h"

namespace qv {

// The registered window classes. A class belongs to the module that registered it; a lookup
// without a module finds the classes of the system and the global ones.
class ClassRegistry {
  public:
    // The new class's atom, or 0 when the attributes are incomplete or the name is taken by
    // the same module.
    ATOM Register(const WNDCLASSW& attributes);
    bool Unregister(ClassAtomOrName which, HINSTANCE module);
    const WindowClass* Find(ClassAtomOrName which, HINSTANCE module) const;

  private:
    std::vector<std::unique_ptr<WindowClass>> classes_;
    ATOM nextAtom_ = 0xC000;
};

}  // namespace qv
