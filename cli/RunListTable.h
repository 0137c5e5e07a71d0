#pragma once
// palvenor-cli --list RUNFOLDER: the run's list as a table in the terminal.
#include <string>

#include "cli/TextOutput.h"
#include "engine/Texts.h"

namespace cli {

// Prints the list of runFolder: state, date, sender, subject and file, by date, columns aligned by
// their width on a terminal (East Asian wide characters take two). deletedOnly keeps the deleted and
// freed messages. Returns the exit status; a list that cannot be read is told on err.
int PrintRunList(const std::u16string& runFolder, bool deletedOnly, TextOutput& out, TextOutput& err,
                 Language language);

}  // namespace cli
