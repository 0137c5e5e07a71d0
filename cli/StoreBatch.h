#pragma once
// A run over several stores: one run folder, and in it one folder for each store's mail.
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/ProgressLine.h"
#include "cli/StoreList.h"
#include "cli/TerminalUi.h"

namespace cli {

// Recovers every store in turn, whatever became of the ones before, and ends with the run folder's path.
// The status is that of the first store, in the order given, that did not complete; Ctrl-C ends the
// batch with kExitInterrupted.
ExitStatus RecoverStores(const std::vector<StoreArgument>& stores, const std::u16string& outputParentFolder,
                         const RunOptions& options, TerminalStreams streams, ProgressLine& progress);

}  // namespace cli
