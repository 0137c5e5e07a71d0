#pragma once
// The folders as Folders.dbx keeps them: their present names, their store files and their nesting.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/index/IndexDamage.h"
#include "engine/scan/StoreReads.h"

// One folder info record.
struct FolderInfo {
  static constexpr std::uint32_t kNoParent = 0xFFFFFFFF;  // the parent of the root, "Outlook Express"

  std::uint32_t Id = 0;                  // field 0x00
  std::uint32_t ParentId = kNoParent;    // field 0x01
  std::u16string Name;                   // field 0x02, as the user sees it now
  std::u16string StoreFileName;          // field 0x03, such as Inbox.dbx; empty for a folder without a store
  std::uint32_t SpecialType = 0;         // field 0x09: 0 none, 1 Inbox, 2 Outbox, 3 Sent, 4 Deleted, 5 Drafts
};

struct FolderTree {
  IndexDamage Damage = IndexDamage::None;
  // Sorted by id, every id once, no parent cycle; empty unless the tree is whole.
  std::vector<FolderInfo> Folders;

  [[nodiscard]] bool Whole() const { return Damage == IndexDamage::None; }
};

// Reads Folders.dbx.
FolderTree ReadFolderTree(StoreReads& store);
