#pragma once
#include <string>
#include <vector>

#include "cli/TextOutput.h"

namespace cli {

// The whole command: parses the arguments, runs the recovery and returns the exit status.
int RunCli(const std::vector<std::string>& utf8Args, TextOutput& out, TextOutput& err);

}  // namespace cli
