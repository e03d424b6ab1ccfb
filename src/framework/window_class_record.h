#pragma once

#include <string>
#include <string_view>

#include "framework/module_state.h"

namespace qv {

// A window class as the framework registers it, on first use: the platform's attributes with
// FirstWindowMessage as the procedure, the class it derives from (if any), the cursor, and the
// atom once registered.
struct WindowClassRecord {
    WNDCLASSW attributes;
    std::u16string_view deriveFrom;  // empty: derives from no class
    WNDPROC deriveFromProcedure = nullptr;
    int cursorId = 0;
    bool systemCursor = true;
    ATOM atom = 0;
    std::u16string generatedName;  // "ATL:" and the record's address, for a record without a name
};

// The main window's class: "QuorvaneWnd", redrawn whole when its size changes, on the system's
// window background colour.
WindowClassRecord& MainWindowClassRecord();
// The class of window objects that name none.
WindowClassRecord& DefaultWindowClassRecord();

// Registers the record's class unless it already is; the atom, or 0 when the class it derives
// from does not exist or registration fails. With a class to derive from, that class's
// procedure becomes `superProcedure`.
ATOM RegisterWindowClassRecord(ModuleState& module, WindowClassRecord& record,
                               WNDPROC& superProcedure);

}  // namespace qv
