#include "cli/ExitStatus.h"

#include <cstddef>

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

std::string ExitStatusHelp() {
  constexpr std::size_t kColumn = 5;  // the meanings line up after the widest status, 130
  std::string help = "Exit status:\n";
  for (const ExitStatusMeaning& entry : kExitStatusMeanings) {
    const std::string status = std::to_string(static_cast<int>(entry.status));
    help += "  " + status + std::string(kColumn - status.size(), ' ');
    help += entry.meaning;
    help += '\n';
  }
  help += "With several stores, the status of the first one that did not complete, in the order given.\n";
  return help;
}

}  // namespace cli
