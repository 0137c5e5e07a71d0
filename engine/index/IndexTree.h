#pragma once
// The tree of a store's index: the header's count and root, the walk over the nodes, and the records
// it lists. The walk is bounded by the file, never by a count the file gives: nodes may not overlap.
#include <cstdint>
#include <functional>

#include "engine/index/IndexedInfo.h"

// The files that keep such a tree, by the word at offset 4 of their header.
enum class IndexedFile : std::uint32_t { MessageStore = 0x6F74FDC5, FolderList = 0x6F74FDC6 };

// What reading the index gave: the damage found first, if any, and the header's count.
struct IndexWalk {
  IndexDamage damage = IndexDamage::None;
  std::int64_t listedCount = 0;
};

// Walks the tree and hands every record it lists to take, in ascending offset order, until the first
// damage; take tells damage of its own through its second argument.
IndexWalk ReadIndexedRecords(StoreReads& store, IndexedFile kind,
                             const std::function<void(const IndexedInfo&, IndexDamage&)>& take);
