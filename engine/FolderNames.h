#pragma once
// The folders of a batch's stores as Folders.dbx beside them names them: the names the user sees now,
// nested as the mail client shows them.
#include <vector>

#include "engine/RecoveryRun.h"
#include "engine/StoreBatch.h"
#include "engine/StoreNames.h"

struct FolderListNames {
  // One per store given: the levels of its folder, from the top; none for a store no folder list names.
  std::vector<std::vector<NamedLevel>> levels;
  // A Folders.dbx among the stores could not be read whole: the stores beside it keep their file names.
  bool unreadable = false;
};

// Reads each Folders.dbx that a folder among the stores holds (none when options leave the index
// unread) and names the stores found in that folder after the folders it lists. A folder without a
// store file (the root, the local folders, an account) adds no level; one whose store file is absent
// still does for the folders below it.
FolderListNames NamesFromFolderLists(const std::vector<BatchStore>& stores, const RunOptions& options);
