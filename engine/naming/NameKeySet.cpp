#include "engine/naming/NameKeySet.h"

#include <functional>

std::u16string_view NameKeySet::KeyAt(std::uint32_t index) const {
  const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : keys_.size();
  return std::u16string_view(keys_).substr(starts_[index], end - starts_[index]);
}

std::size_t NameKeySet::SlotFor(std::u16string_view key) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = std::hash<std::u16string_view>{}(key) & mask;; slot = (slot + 1) & mask) {
    if (slots_[slot] == 0 || KeyAt(slots_[slot] - 1) == key) return slot;
  }
}

std::uint32_t NameKeySet::Find(std::u16string_view key) const {
  if (slots_.empty()) return kAbsent;
  const std::uint32_t entry = slots_[SlotFor(key)];
  return entry == 0 ? kAbsent : entry - 1;
}

std::uint32_t NameKeySet::Insert(std::u16string_view key) {
  // At most three quarters full, so that every search meets a free slot soon.
  if ((starts_.size() + 1) * 4 > slots_.size() * 3) Grow();
  const std::size_t slot = SlotFor(key);
  if (slots_[slot] != 0) return slots_[slot] - 1;
  const auto index = static_cast<std::uint32_t>(starts_.size());
  starts_.push_back(static_cast<std::uint32_t>(keys_.size()));
  keys_.append(key);
  slots_[slot] = index + 1;
  return index;
}

void NameKeySet::Grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
  const std::size_t mask = slots_.size() - 1;
  for (std::uint32_t index = 0; index < starts_.size(); ++index) {
    std::size_t slot = std::hash<std::u16string_view>{}(KeyAt(index)) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = index + 1;
  }
}
