// The index reader over any store, read as a message store and as Folders.dbx: never a crash or a
// hang, and what it gives holds what it promises.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/index/FolderTree.h"
#include "engine/index/StoreIndex.h"
#include "fuzz/MemoryStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryStore store;
  store.Fill({data, size});
  platform::OsError error;
  const auto file = platform::StoreFile::Open(store.Path(), error);
  if (!file) std::abort();
  StoreReads reads(*file);
  const StoreIndex index = ReadStoreIndex(reads);
  const auto byFirstBlock = [](const ListedMessage& a, const ListedMessage& b) { return a.FirstBlockOffset < b.FirstBlockOffset; };
  if (index.Whole() ? std::ssize(index.Messages) != index.ListedCount || !std::is_sorted(index.Messages.begin(), index.Messages.end(), byFirstBlock)
                    : !index.Messages.empty())
    std::abort();
  const FolderTree tree = ReadFolderTree(reads);
  const auto sameOrLater = [](const FolderInfo& a, const FolderInfo& b) { return a.Id >= b.Id; };
  if (std::adjacent_find(tree.Folders.begin(), tree.Folders.end(), sameOrLater) != tree.Folders.end()) std::abort();
  return 0;
}
