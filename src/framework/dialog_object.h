#pragma once

#include "framework/framework_object.h"

namespace qv {

// The base of the program's dialogs: their messages reach HandleMessage through
// DialogMessageProcedure, and what they leave goes to the dialog manager.
class DialogObject : public FrameworkObject {
  public:
    EntryProcedure GetEntryProcedure() const override;
};

}  // namespace qv
