#pragma once

// The tab control: tabs with text labels in one row or, with TCS_MULTILINE, in as many rows as
// they need, the selected tab's row next to the display area; a fixed tab size
// (TCS_FIXEDWIDTH, TCM_SETITEMSIZE), a minimum width and padding for tabs sized by their text;
// a tap on a tab or the Left and Right keys select it, asking the parent first
// (TCN_SELCHANGING) and telling it after (TCN_SELCHANGE).

#include "platform/controls/tab_control_messages.h"

namespace qv {

// Registers WC_TABCONTROL once; returns its atom, 0 when it cannot be registered.
ATOM RegisterTabControlClass();

}  // namespace qv
