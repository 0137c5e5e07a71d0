#pragma once
// The stores a run is asked for: each DBXFILE argument, and every "*.dbx" directly in each FOLDER.
#include <optional>
#include <string>
#include <vector>

#include "engine/RecoveryUi.h"

namespace cli {

// One store to recover, or a folder argument that gave none and why.
struct StoreArgument {
  std::u16string path;
  std::optional<UiMessage> problem;
};

// In the order given; a folder's stores sorted by name, so that a run goes the same way every time.
// A folder's problem is told in the language.
std::vector<StoreArgument> ExpandStores(const std::vector<std::u16string>& arguments, Language language);

}  // namespace cli
