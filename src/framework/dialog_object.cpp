#include "framework/dialog_object.h"

#include "framework/modal_dialog.h"

namespace qv {

FrameworkObject::EntryProcedure DialogObject::GetEntryProcedure() const {
    return DialogMessageProcedure;
}

}  // namespace qv
