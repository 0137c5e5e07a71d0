#pragma once
// Ctrl-C for a command-line run: the first one asks the run to stop and wind up, so that nothing
// found is lost; a second one asks it to end at once, leaving what it has not yet written; a third
// ends the process the usual way. On POSIX, SIGTERM and SIGHUP count as Ctrl-C.

namespace platform {

void CatchInterrupt();

// A file-size limit (ulimit -f) then makes the write that passes it fail with EFBIG, a write failure
// the run reports, instead of killing the process with a truncated file left behind. Nothing to do
// where the system has no such signal.
void IgnoreFileSizeLimitSignal();

// How often Ctrl-C has been pressed after CatchInterrupt, counting up to 2.
int InterruptCount();

// True once Ctrl-C has been pressed after CatchInterrupt.
inline bool InterruptRequested() { return InterruptCount() > 0; }

}  // namespace platform
