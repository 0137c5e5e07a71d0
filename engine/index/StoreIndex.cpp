#include "engine/index/StoreIndex.h"

#include <algorithm>

#include "engine/index/IndexTree.h"

namespace {

enum Field : std::uint8_t {
  kFlags = 0x01,
  kFirstBlock = 0x04,
  kSaved = 0x06,
  kSubject = 0x08,
  kSenderAddressAndName = 0x09,
  kSenderName = 0x0D,
  kSenderAddress = 0x0E,
  kReceived = 0x12,
};

std::u16string Sender(const IndexedInfo& info) {
  std::u16string name = info.Text(kSenderName);
  std::u16string address = info.Text(kSenderAddress);
  if (name.empty() && address.empty()) return info.Text(kSenderAddressAndName);
  if (address.empty() || address == name) return name;
  if (name.empty()) return address;
  return name + u" <" + address + u">";
}

ListedMessage Listed(const IndexedInfo& info, IndexDamage& damage) {
  if (!info.Has(kFirstBlock)) damage = IndexDamage::FieldMissing;
  const auto received = info.Number(kReceived, 8, damage);
  return ListedMessage{static_cast<std::int64_t>(info.Number(kFirstBlock, 4, damage)), info.Text(kSubject),
                       Sender(info), received != 0 ? received : info.Number(kSaved, 8, damage),
                       static_cast<std::uint32_t>(info.Number(kFlags, 4, damage))};
}

bool ByFirstBlock(const ListedMessage& a, const ListedMessage& b) { return a.FirstBlockOffset < b.FirstBlockOffset; }

}  // namespace

const ListedMessage* StoreIndex::Find(std::int64_t startBlock, std::size_t& next) const {
  const std::int64_t offset = startBlock - 1;
  const auto before = [](const ListedMessage& message, std::int64_t key) { return message.FirstBlockOffset < key; };
  const auto from = Messages.begin() + static_cast<std::ptrdiff_t>(std::min(next, Messages.size()));
  // Sorted: the answer is from itself when the message before it lies before the position and from
  // does not.
  const bool after = from == Messages.begin() || std::prev(from)->FirstBlockOffset < offset;
  const bool notBefore = from == Messages.end() || from->FirstBlockOffset >= offset;
  const auto found = after && notBefore ? from : std::lower_bound(Messages.begin(), Messages.end(), offset, before);
  if (found == Messages.end() || found->FirstBlockOffset != offset) return nullptr;
  next = static_cast<std::size_t>(found - Messages.begin()) + 1;
  return &*found;
}

StoreIndex ReadStoreIndex(StoreReads& store) {
  StoreIndex index;
  const IndexWalk walk = ReadIndexedRecords(store, IndexedFile::MessageStore, [&index](const IndexedInfo& info, IndexDamage& damage) {
    index.Messages.push_back(Listed(info, damage));
  });
  index.Damage = walk.damage;
  index.ListedCount = walk.listedCount;
  if (!index.Whole()) index.Messages.clear();
  // Records mostly lie in the order of their messages, as both were written when the mail came.
  if (!std::is_sorted(index.Messages.begin(), index.Messages.end(), ByFirstBlock))
    std::sort(index.Messages.begin(), index.Messages.end(), ByFirstBlock);
  return index;
}
