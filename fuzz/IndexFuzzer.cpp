// The index reader over any store, read as a message store and as Folders.dbx: never a crash or a
// hang, and what it gives holds what it promises.
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
  const FolderTree tree = ReadFolderTree(reads);
  // Only a whole index lists anything, and then every value the header counts.
  if ((index.Whole() ? std::ssize(index.Messages) != index.ListedCount : !index.Messages.empty()) || (!tree.Whole() && !tree.Folders.empty()))
    std::abort();
  return 0;
}
