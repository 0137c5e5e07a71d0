#pragma once
// Names taken from a store's path: whether it is one, and the folder its mail goes to in a run over several.
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Whether a file name ends in ".dbx", in any case.
bool IsDbxFileName(std::u16string_view name);

// The last part of a path.
std::u16string_view FileNameOf(std::u16string_view path);

// One folder name for each store: its file name without the extension, with "(k)" added for the first
// free k on a clash. Names that differ only in ASCII case clash, as they do on Windows, so that a run
// names its folders alike everywhere.
std::vector<std::u16string> SubfolderNames(const std::vector<std::u16string>& storePaths);

}  // namespace cli
