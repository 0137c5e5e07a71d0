#include "cli/ExitStatus.h"

namespace cli {

ExitStatus ExitStatusFor(RecoveryResult result, bool interrupted) {
  switch (result) {
    case RecoveryResult::StoreOpenFailed:
      return kExitStoreOpenFailed;
    case RecoveryResult::FolderCreateFailed:
      return kExitFolderFailed;
    case RecoveryResult::WriteFailed:
      return kExitWriteFailed;
    case RecoveryResult::Stopped:
      return kExitInterrupted;
    case RecoveryResult::Completed:
      break;
  }
  // Ctrl-C after the run's last stop test still means the user asked to stop.
  return interrupted ? kExitInterrupted : kExitCompleted;
}

}  // namespace cli
