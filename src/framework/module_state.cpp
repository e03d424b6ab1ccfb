#include "framework/module_state.h"

#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

ModuleState* g_module = nullptr;

}  // namespace

HRESULT InitModule(ModuleState* state, HINSTANCE instance) {
    if (!state) {
        return E_INVALIDARG;
    }
    state->instance = instance;
    state->creationList = nullptr;
    g_module = state;
    return S_OK;
}

ModuleState* CurrentModule() {
    return g_module;
}

bool AddCreationRecord(FrameworkObject& object) {
    ModuleState* module = CurrentModule();
    if (!module) {
        return false;
    }
    DropCreationRecord(object);
    std::lock_guard lock(module->creationLock);
    object.creationRecord.object = &object;
    object.creationRecord.thread = std::this_thread::get_id();
    object.creationRecord.next = module->creationList;
    module->creationList = &object.creationRecord;
    return true;
}

FrameworkObject* TakeCreationRecord() {
    ModuleState* module = CurrentModule();
    if (!module) {
        return nullptr;
    }
    std::lock_guard lock(module->creationLock);
    const std::thread::id thread = std::this_thread::get_id();
    for (CreationRecord** link = &module->creationList; *link; link = &(*link)->next) {
        CreationRecord* record = *link;
        if (record->thread == thread) {
            *link = record->next;
            record->next = nullptr;
            return record->object;
        }
    }
    return nullptr;
}

void DropCreationRecord(FrameworkObject& object) {
    ModuleState* module = CurrentModule();
    if (!module) {
        return;
    }
    std::lock_guard lock(module->creationLock);
    for (CreationRecord** link = &module->creationList; *link; link = &(*link)->next) {
        if (*link == &object.creationRecord) {
            *link = object.creationRecord.next;
            object.creationRecord.next = nullptr;
            return;
        }
    }
}

}  // namespace qv
