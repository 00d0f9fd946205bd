#pragma once

#include "core/Progress.h"

namespace korvan {
class ProgressControl;
}

namespace korvan::cli {

// Ctrl+C (or SIGTERM, SIGHUP) asks the running command to stop at its next progress step; the
// command's transaction is then rolled back and the store stays as it was. A second one ends the
// program at once, which leaves the store as it was too (a transaction is never half written), and
// ends the helper programs it started (LibreOffice) with it.
void installInterruptHandler();
// The command's progress and cancel request, which Ctrl+C sets.
ProgressControl &commandControl();
bool interruptRequested();
// Refuses to go on once Ctrl+C was pressed.
void throwIfInterrupted();

// Progress for a long command: checks for Ctrl+C at each step and, on a terminal, shows how far
// the work has gone.
Progress commandProgress(const char *what);

} // namespace korvan::cli
