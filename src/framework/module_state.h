#pragma once

#include <mutex>

#include "platform/user/records/user_types.h"

namespace qv {

struct CreationRecord;

// The framework's state of the program: the module whose resources, classes and windows it
// uses, and the creation records of objects whose windows are being made.
struct ModuleState {
    HINSTANCE instance = nullptr;
    std::mutex creationLock;                 // the creation records and class registration
    CreationRecord* creationList = nullptr;  // newest first
};

// Makes the state the program's, with the module; E_INVALIDARG without a state.
HRESULT InitModule(ModuleState* state, HINSTANCE instance);
ModuleState* CurrentModule();

}  // namespace qv
