#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct ExitCase {
  RecoveryResult result;
  bool interrupted;
  int status;
};

TEST(ExitStatusFor, MapsEveryOutcomeToItsDocumentedStatus) {
  const ExitCase cases[] = {
      {RecoveryResult::Completed, false, 0},
      {RecoveryResult::Completed, true, 130},  // Ctrl-C after the run's last stop test
      {RecoveryResult::Stopped, true, 130},
      {RecoveryResult::StoreOpenFailed, false, 3},
      {RecoveryResult::FolderCreateFailed, false, 4},
      {RecoveryResult::WriteFailed, false, 5},
      {RecoveryResult::WriteFailed, true, 5},  // the lost message matters more than the stop
  };
  for (const ExitCase& c : cases) {
    EXPECT_EQ(cli::ExitStatusFor(c.result, c.interrupted), c.status)
        << static_cast<int>(c.result) << " interrupted=" << c.interrupted;
  }
}

TEST(ExitStatusFor, ACompletedRunThatCouldNotReadPartsOfItsStoreGives6) {
  RecoveryOutcome outcome;
  outcome.unreadableCount = 1;
  EXPECT_EQ(cli::ExitStatusFor(outcome, false), cli::kExitUnreadable);
  EXPECT_EQ(cli::ExitStatusFor(outcome, true), cli::kExitInterrupted);
  EXPECT_EQ(cli::ExitStatusFor(RecoveryOutcome{}, false), cli::kExitCompleted);
}

TEST(ExitStatusFor, FailuresAreDistinctAndNonZero) {
  const std::set<int> statuses{cli::ExitStatusFor(RecoveryResult::StoreOpenFailed, false),
                               cli::ExitStatusFor(RecoveryResult::FolderCreateFailed, false),
                               cli::ExitStatusFor(RecoveryResult::WriteFailed, false), cli::kExitUsage,
                               cli::kExitUnexpected, cli::kExitInterrupted};
  EXPECT_EQ(statuses.size(), 6u);
  EXPECT_EQ(statuses.count(0), 0u);
}

}  // namespace
