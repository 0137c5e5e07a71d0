#pragma once
#include "engine/modDBXFile.h"

namespace cli {

// The exit statuses of palvenor-cli; --help lists them.
enum ExitStatus : int {
  kExitCompleted = 0,        // the run completed, whether or not mail was found
  kExitUnexpected = 1,       // an internal failure (out of memory and the like)
  kExitUsage = 2,            // wrong arguments
  kExitStoreOpenFailed = 3,  // the DBX file could not be opened
  kExitFolderFailed = 4,     // the output folder could not be created
  kExitWriteFailed = 5,      // a recovered message could not be written; what was written is kept
  kExitInterrupted = 130,    // stopped by Ctrl-C; what was recovered so far is kept
};

ExitStatus ExitStatusFor(RecoveryResult result, bool interrupted);

}  // namespace cli
