#pragma once
#include <string>
#include <vector>

#include "cli/TextOutput.h"
#include "engine/Texts.h"

namespace cli {

// The whole command: parses the arguments, runs the recovery and returns the exit status. Everything it
// writes is in the language.
int RunCli(const std::vector<std::string>& utf8Args, TextOutput& out, TextOutput& err, Language language);

}  // namespace cli
