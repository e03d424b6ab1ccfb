#pragma once

#include <cstdio>

namespace qv::tools {

// Writes what the running program shows and holds as one JSON object on one line: its visible
// windows, open message boxes, the loaded network, the main window's blink state and timers,
// and the settings in force.
void WriteProgramState(std::FILE* out);

}  // namespace qv::tools
