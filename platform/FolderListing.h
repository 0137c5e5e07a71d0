#pragma once
// What a folder holds, for a command that takes a folder to mean the stores in it.
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace platform {

// True when `path` names a folder, also through a link.
[[nodiscard]] bool IsFolder(const std::u16string& path);

// The names of the files directly in `folder`, in no set order; folders are left out. nullopt when
// the folder cannot be read.
[[nodiscard]] std::optional<std::vector<std::u16string>> FileNamesIn(const std::u16string& folder, OsError& error);

}  // namespace platform
