#pragma once

#include "framework/framework_object.h"
#include "framework/window_class_record.h"
#include "platform/user/defaults/default_window_procedure.h"

namespace qv {

// The base of the program's windows: its messages reach HandleMessage through
// WindowMessageProcedure, and what it leaves goes to `superProcedure`.
class WindowObject : public FrameworkObject {
  public:
    // A window of the class that the record describes (the default class when none).
    explicit WindowObject(WindowClassRecord& classRecord = DefaultWindowClassRecord())
        : classRecord_(classRecord) {}
    ~WindowObject() override;

    EntryProcedure GetEntryProcedure() const override;
    WindowClassRecord& ClassRecord() const { return classRecord_; }

    // Where unhandled messages go: the default window procedure, or the procedure of the class
    // this window's class derives from.
    WNDPROC superProcedure = DefWindowProcW;

  private:
    WindowClassRecord& classRecord_;
};

// The entry procedure of window objects.
LRESULT WindowMessageProcedure(FrameworkObject& object, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
