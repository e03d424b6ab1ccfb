#pragma once

#include <mutex>

#include "framework/framework_object.h"

namespace qv {

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

// Announces the object as the one whose window the calling thread makes next; false without a
// module state.
bool AddCreationRecord(FrameworkObject& object);
// The object of the calling thread's newest record, which is taken out; null when there is none.
FrameworkObject* TakeCreationRecord();
// Takes the object's record out if it is still there, as when its window could not be made.
void DropCreationRecord(FrameworkObject& object);

}  // namespace qv
