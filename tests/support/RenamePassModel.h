#pragma once
// The rename pass the run once made over its working files, kept as the model that names decided in
// memory are held against: each working file renamed in turn, never replacing an existing entry.
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// The name each working file ends with, in order: records[i] is the name text of the i-th working
// file's message ("Recover" + (i + 1) + ".eml" in folder), nullopt for a record without a file.
std::vector<std::u16string> RenameWorkingFiles(const std::u16string& folder,
                                               const std::vector<std::optional<std::u16string>>& texts);

}  // namespace testsupport
