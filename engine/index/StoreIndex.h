#pragma once
// The messages a store's own index lists, for telling deleted mail from listed mail and for naming
// what the index lists but the scan could not find.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/index/IndexDamage.h"
#include "engine/scan/StoreReads.h"
#include "platform/FileTimes.h"

// One message info record.
struct ListedMessage {
  std::int64_t FirstBlockOffset = 0;  // 0-based file offset of the message's first block (field 0x04)
  std::u16string Subject;             // field 0x08
  std::u16string Sender;              // "name <address>" from fields 0x0D and 0x0E, else field 0x09
  platform::FileTime ReceivedTime = 0;  // UTC: field 0x12, else the time it was saved (0x06); 0 when none
  std::uint32_t Flags = 0;              // field 0x01

  // The position a scan gives the first block: 1-based, as MailRecord::StartBlock counts.
  [[nodiscard]] std::int64_t StartBlock() const { return FirstBlockOffset + 1; }
};

struct StoreIndex {
  IndexDamage Damage = IndexDamage::None;
  std::int64_t ListedCount = 0;  // the header's count
  // Sorted by first block; empty unless the index is whole.
  std::vector<ListedMessage> Messages;

  [[nodiscard]] bool Whole() const { return Damage == IndexDamage::None; }
  // The listed message whose first block lies at a scan's 1-based position, or null. next, kept from
  // one call to the next, is where the search begins: asked in ascending order, as the records come,
  // each answer costs a look, where a search over a hundred thousand messages would miss the cache.
  [[nodiscard]] const ListedMessage* Find(std::int64_t startBlock, std::size_t& next) const;
};

// Reads the index of a message store. Read only: it changes nothing the scan finds.
StoreIndex ReadStoreIndex(StoreReads& store);
