#include "engine/modDBXFile.h"

#include <stdexcept>

UsedBlockList::UsedBlockList(std::int32_t initialCapacity)
    : UsedBlocks(static_cast<std::size_t>(initialCapacity < 0 ? 0 : initialCapacity) + 1, 0) {}

std::int32_t UsedBlockList::Capacity() const { return static_cast<std::int32_t>(UsedBlocks.size() - 1); }

void UsedBlockList::Grow() {
  // A list that starts empty (a store shorter than one block) must still make room.
  const std::size_t capacity = UsedBlocks.size() - 1;
  UsedBlocks.resize((capacity == 0 ? 1 : capacity * 2) + 1, 0);
}

void UsedBlockList::Enter(std::int32_t position) {
  if (UsedBlockCount == Capacity()) Grow();
  AddUsedBlock(UsedBlocks, position, 1, UsedBlockCount);
}

bool IsBlockUsed(const std::vector<std::int32_t>& list, std::int32_t position, std::int32_t low, std::int32_t high) {
  while (low <= high) {
    // low + (high - low) / 2 cannot overflow; it equals (low + high) \ 2 for these non-negative bounds.
    const std::int32_t mid = low + (high - low) / 2;
    const std::int32_t entry = list[static_cast<std::size_t>(mid)];
    if (entry == position) return true;
    if (position < entry)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return false;
}

void AddUsedBlock(std::vector<std::int32_t>& list, std::int32_t position, std::int32_t low, std::int32_t& count) {
  if (IsBlockUsed(list, position, low, count)) return;
  if (static_cast<std::size_t>(count) + 1 >= list.size()) throw std::length_error("used-block list is full");
  std::int32_t i = count;
  while (i >= low && list[static_cast<std::size_t>(i)] > position) {
    list[static_cast<std::size_t>(i) + 1] = list[static_cast<std::size_t>(i)];
    --i;
  }
  list[static_cast<std::size_t>(i) + 1] = position;
  ++count;
}
