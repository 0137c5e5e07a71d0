#include "engine/index/IndexedInfo.h"

#include <algorithm>

#include "convert/Cp932.h"
#include "convert/Decoders.h"

namespace {

constexpr std::int64_t kHeadSize = 12;
constexpr std::size_t kEntryCountAt = 0x0A;
constexpr std::uint32_t kInEntry = 0x80;
constexpr std::uint32_t kFieldBits = 0x7F;
// No record comes near it; a longer one is damage, and is never read into memory.
constexpr std::uint32_t kLongestBody = 1 << 20;

}  // namespace

std::optional<IndexedInfo> IndexedInfo::Read(IndexReads& reads, std::int64_t offset, IndexDamage& damage) {
  const auto head = reads.Fetch(offset, kHeadSize, damage);
  if (head.empty()) return std::nullopt;
  if (Uint32At(head, 0) != offset) {
    damage = IndexDamage::WrongMarker;
    return std::nullopt;
  }
  const std::uint32_t bodyLength = Uint32At(head, 4);
  const std::size_t entriesLength = std::size_t{head[kEntryCountAt]} * 4;
  if (bodyLength > kLongestBody || entriesLength > bodyLength) {
    damage = IndexDamage::CountOutside;
    return std::nullopt;
  }
  const auto record = reads.Fetch(offset, kHeadSize + bodyLength, damage);
  if (record.empty()) return std::nullopt;
  const IndexedInfo info(record.subspan(kHeadSize, entriesLength), record.subspan(kHeadSize + entriesLength));
  for (std::size_t at = 0; at < entriesLength; at += 4) {
    const std::uint32_t entry = Uint32At(info.entries_, at);
    if ((entry & kInEntry) == 0 && entry >> 8 >= info.data_.size()) {
      damage = IndexDamage::CountOutside;
      return std::nullopt;
    }
  }
  return info;
}

std::optional<std::uint32_t> IndexedInfo::Entry(std::uint8_t field) const {
  for (std::size_t at = 0; at < entries_.size(); at += 4)
    if ((entries_[at] & kFieldBits) == field) return Uint32At(entries_, at);
  return std::nullopt;
}

std::uint64_t IndexedInfo::Number(std::uint8_t field, std::size_t width, IndexDamage& damage) const {
  const auto entry = Entry(field);
  if (!entry) return 0;
  if ((*entry & kInEntry) != 0) return *entry >> 8;
  const std::size_t at = *entry >> 8;
  if (at + width > data_.size()) {
    damage = IndexDamage::CountOutside;
    return 0;
  }
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = value << 8 | data_[at + i];
  return value;
}

std::u16string IndexedInfo::Text(std::uint8_t field) const {
  const auto entry = Entry(field);
  if (!entry || (*entry & kInEntry) != 0) return {};
  const auto text = data_.subspan(*entry >> 8);
  const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
  std::u16string decoded = Cp932ToUnicode(text.first(static_cast<std::size_t>(end - text.begin())));
  // Outlook Express keeps texts decoded; only a rare one holds encoded words or escapes.
  if (decoded.find(u"=?") == std::u16string::npos && decoded.find(u'\x1B') == std::u16string::npos) return decoded;
  return DecodeMimeHeader(decoded).value_or(decoded);
}
