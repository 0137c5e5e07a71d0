#pragma once
// The stores a run is asked for: each DBXFILE argument, and every "*.dbx" directly in each FOLDER.
#include <string>
#include <vector>

#include "engine/StoreBatch.h"

namespace cli {

// In the order given; a folder's stores in the order FolderStores gives them. A folder that gives no
// store is an entry with its problem, told in the language.
std::vector<BatchStore> ExpandStores(const std::vector<std::u16string>& arguments, Language language);

}  // namespace cli
