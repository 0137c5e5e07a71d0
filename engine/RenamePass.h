#pragma once
#include <optional>
#include <string>
#include <vector>

#include "engine/RecoveryUi.h"
#include "mailinfo/modMailInfo.h"

// What the header part of each message gave while it was written, by record index; nullopt (or no
// entry) where the file is to be read instead.
using WrittenHeaders = std::vector<std::optional<HeaderInfo>>;

// Dates every remaining message file from its header and renames it after its subject; ends before
// the next record once a stop is requested. Files it does not reach keep their working names.
void RenameMessages(const std::u16string& folder, WrittenHeaders& headers, RecoveryUi& ui);
