#pragma once

#include "framework/framework_object.h"

namespace qv {

// The base of the program's dialogs: their messages reach HandleMessage through
// DialogMessageProcedure, and what they leave goes to the dialog manager.
class DialogObject : public FrameworkObject {
  public:
    EntryProcedure GetEntryProcedure() const override;
};

// The entry procedure of dialog objects.
LRESULT DialogMessageProcedure(FrameworkObject& object, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
