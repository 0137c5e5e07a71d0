#pragma once
#include <string>
#include <string_view>

#include "engine/modDBXFile.h"

namespace cli {

// The exit statuses of palvenor-cli; kExitStatusMeanings says what each means.
enum ExitStatus : int {
  kExitCompleted = 0,
  kExitUnexpected = 1,
  kExitUsage = 2,
  kExitStoreOpenFailed = 3,
  kExitFolderFailed = 4,
  kExitWriteFailed = 5,
  kExitInterrupted = 130,
};

struct ExitStatusMeaning {
  ExitStatus status;
  std::string_view meaning;
};

// The one list of statuses and their meanings; --help is made from it.
inline constexpr ExitStatusMeaning kExitStatusMeanings[] = {
    {kExitCompleted, "the run completed, whether or not mail was found"},
    {kExitUnexpected, "an internal failure"},
    {kExitUsage, "wrong arguments"},
    {kExitStoreOpenFailed, "a DBX file could not be opened, or a folder held none"},
    {kExitFolderFailed, "the output folder could not be created"},
    {kExitWriteFailed, "a recovered message could not be written (what was written is kept)"},
    {kExitInterrupted, "stopped by Ctrl-C (what was recovered so far is kept)"},
};

ExitStatus ExitStatusFor(RecoveryResult result, bool interrupted);

// The statuses as --help lists them, one a line after the heading "Exit status:".
std::string ExitStatusHelp();

}  // namespace cli
