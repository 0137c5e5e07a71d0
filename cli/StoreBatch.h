#pragma once
// A run over several stores on the terminal: the engine's batch with a progress line for each store,
// its report lines and the run folder's path last.
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalUi.h"
#include "engine/StoreBatch.h"

namespace cli {

// The status is that of the first store, in the order given, that did not complete; Ctrl-C ends the
// batch with kExitInterrupted.
ExitStatus RecoverStores(const std::vector<BatchStore>& stores, const std::u16string& outputParentFolder,
                         const RunOptions& options, TerminalStreams streams, ProgressLine& progress);

}  // namespace cli
