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

ExitStatus ExitStatusFor(const RecoveryOutcome& outcome, bool interrupted) {
  const ExitStatus status = ExitStatusFor(outcome.result, interrupted);
  return status == kExitCompleted && outcome.unreadableCount > 0 ? kExitUnreadable : status;
}

std::string ExitStatusHelp(Language language) {
  constexpr std::size_t kColumn = 5;  // the meanings line up after the widest status, 130
  std::string help = CliTextUtf8(CliTextId::ExitStatusHeading, language) + '\n';
  for (const ExitStatusMeaning& entry : kExitStatusMeanings) {
    const std::string status = std::to_string(static_cast<int>(entry.status));
    help += "  " + status + std::string(kColumn - status.size(), ' ');
    help += CliTextUtf8(entry.meaning, language) + '\n';
  }
  help += CliTextUtf8(CliTextId::ExitStatusOfBatch, language) + '\n';
  return help;
}

}  // namespace cli
