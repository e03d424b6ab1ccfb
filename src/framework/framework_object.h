#pragma once

#include <thread>

#include "platform/user/records/user_types.h"

namespace qv {

class FrameworkObject;

// Announces an object whose window is being made, until the window's first message takes it.
struct CreationRecord {
    FrameworkObject* object = nullptr;
    std::thread::id thread;
    CreationRecord* next = nullptr;  // the record made before this one
};

// What window objects and dialog objects share: the window they are bound to, the message
// being handled, and the operations through which their messages reach them.
class FrameworkObject {
  public:
    // The procedure an object's messages go to once it is bound.
    using EntryProcedure = LRESULT (*)(FrameworkObject& object, UINT message, WPARAM wParam,
                                       LPARAM lParam);

    FrameworkObject() = default;
    // An object that goes before its window leaves the window unbound: its later messages get
    // the default processing.
    virtual ~FrameworkObject();
    FrameworkObject(const FrameworkObject&) = delete;
    FrameworkObject& operator=(const FrameworkObject&) = delete;

    // The message map: false when the message was not handled. A map id other than 0 is never
    // handled.
    virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result, int mapId) = 0;
    virtual EntryProcedure GetEntryProcedure() const = 0;
    // Called once after the destroy message, with `hwnd` already null.
    virtual void OnWindowGone(HWND formerWindow);

    HWND hwnd = nullptr;
    CreationRecord creationRecord;
    const MSG* currentMessage = nullptr;

    // Runs the message map with the message as the current one, and puts the previous current
    // message back afterwards, so that a modal loop inside a handler leaves it as it was.
    bool HandleAsCurrent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// Announces the object as the one whose window the calling thread makes next; false without a
// module state.
bool AddCreationRecord(FrameworkObject& object);
// The object of the calling thread's newest record, which is taken out; null when there is none.
FrameworkObject* TakeCreationRecord();
// Takes the object's record out if it is still there, as when its window could not be made.
void DropCreationRecord(FrameworkObject& object);

}  // namespace qv
