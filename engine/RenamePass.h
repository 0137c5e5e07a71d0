#pragma once
#include <string>

#include "engine/RecoveryUi.h"

// Dates every remaining message file from its header and renames it after its subject; ends before
// the next record once a stop is requested. Files it does not reach keep their working names.
void RenameMessages(const std::u16string& folder, RecoveryUi& ui);
