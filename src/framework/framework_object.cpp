#include "framework/framework_object.h"

#include <mutex>
#include <utility>

#include "framework/module_state.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

FrameworkObject::~FrameworkObject() {
    DropCreationRecord(*this);
    if (hwnd && GetWindowLongW(hwnd, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongW(hwnd, GWL_USERDATA, 0);
    }
}

void FrameworkObject::OnWindowGone(HWND /*formerWindow*/) {}

bool FrameworkObject::HandleAsCurrent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const MSG record{hwnd, message, wParam, lParam, 0, {0, 0}};
    const MSG* previous = std::exchange(currentMessage, &record);
    const bool handled = HandleMessage(hwnd, message, wParam, lParam, result, 0);
    currentMessage = previous;
    return handled;
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
