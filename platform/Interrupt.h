#pragma once
// Ctrl-C for a command-line run: the first one asks the run to stop and wind up, so that nothing
// already written is lost; a second one ends the process the usual way.

namespace platform {

void CatchInterrupt();

// True once Ctrl-C has been pressed after CatchInterrupt.
bool InterruptRequested();

}  // namespace platform
