#pragma once

#include <span>
#include <vector>

#include "platform/user/records/user_types.h"

namespace qv {

// An accelerator table as a module carries it.
struct AcceleratorResource {
    std::span<const ACCEL> entries;
};

// Keys that stand for commands. Virtual-key entries (FVIRTKEY) match a key going down with
// exactly the Ctrl, Alt and Shift state they name; the others match the character typed.
class AcceleratorTable {
  public:
    explicit AcceleratorTable(std::span<const ACCEL> entries)
        : entries_(entries.begin(), entries.end()) {}

    // The command of the key message, or 0.
    WORD CommandOf(const MSG& message, bool control, bool alt, bool shift) const;

  private:
    std::vector<ACCEL> entries_;
};

HACCEL LoadAcceleratorsW(HINSTANCE module, int id);
HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// Sends WM_COMMAND with the command (and 1 in the high word) to the window when the message is
// an accelerator of the table; the message is then used up.
int TranslateAcceleratorW(HWND window, HACCEL table, const MSG* message);

}  // namespace qv
