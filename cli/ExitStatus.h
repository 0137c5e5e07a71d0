#pragma once
#include <string>

#include "cli/CliTexts.h"
#include "engine/RecoveryRun.h"

namespace cli {

// The exit statuses of palvenor-cli; kExitStatusMeanings says what each means.
enum ExitStatus : int {
  kExitCompleted = 0,
  kExitUnexpected = 1,
  kExitUsage = 2,
  kExitStoreOpenFailed = 3,
  kExitFolderFailed = 4,
  kExitWriteFailed = 5,
  kExitUnreadable = 6,
  kExitListUnreadable = 7,
  kExitInterrupted = 130,
};

struct ExitStatusMeaning {
  ExitStatus status;
  CliTextId meaning;
};

// The one list of statuses and their meanings; --help is made from it.
inline constexpr ExitStatusMeaning kExitStatusMeanings[] = {
    {kExitCompleted, CliTextId::ExitCompletedMeaning},
    {kExitUnexpected, CliTextId::ExitUnexpectedMeaning},
    {kExitUsage, CliTextId::ExitUsageMeaning},
    {kExitStoreOpenFailed, CliTextId::ExitStoreOpenFailedMeaning},
    {kExitFolderFailed, CliTextId::ExitFolderFailedMeaning},
    {kExitWriteFailed, CliTextId::ExitWriteFailedMeaning},
    {kExitUnreadable, CliTextId::ExitUnreadableMeaning},
    {kExitListUnreadable, CliTextId::ExitListUnreadableMeaning},
    {kExitInterrupted, CliTextId::ExitInterruptedMeaning},
};

ExitStatus ExitStatusFor(RecoveryResult result, bool interrupted);
// The same, and a completed run that could not read parts of its store gives kExitUnreadable.
ExitStatus ExitStatusFor(const RecoveryOutcome& outcome, bool interrupted);

// The statuses as --help lists them in the language, one a line after their heading.
std::string ExitStatusHelp(Language language);

}  // namespace cli
