#include "engine/scan/UsedBlocks.h"

#include <algorithm>
#include <stdexcept>

std::size_t UsedBlockList::ChunkFor(std::int64_t position) const {
  // The last chunk that starts at or before the position; the first one for smaller positions.
  const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), position);
  return after == firsts_.begin() ? 0 : static_cast<std::size_t>(after - firsts_.begin() - 1);
}

bool UsedBlockList::Contains(std::int64_t position) const {
  if (chunks_.empty()) return false;
  const Chunk& chunk = chunks_[ChunkFor(position)];
  return IsBlockUsed(chunk.UsedBlocks, position, 1, chunk.UsedBlockCount);
}

void UsedBlockList::Enter(std::int64_t position) {
  if (chunks_.empty()) {
    chunks_.emplace_back();
    firsts_.push_back(position);
  }
  std::size_t index = ChunkFor(position);
  if (IsBlockUsed(chunks_[index].UsedBlocks, position, 1, chunks_[index].UsedBlockCount)) return;
  if (chunks_[index].UsedBlockCount == kChunkEntries) index = Split(index, position);
  Chunk& chunk = chunks_[index];
  AddUsedBlock(chunk.UsedBlocks, position, 1, chunk.UsedBlockCount);
  firsts_[index] = chunk.UsedBlocks[1];
  ++count_;
}

// Splits the full chunk where the position belongs, so that a run of ascending or descending positions
// leaves full chunks behind it; elsewhere each part keeps at least an eighth. Returns the chunk that
// is to take the position.
std::size_t UsedBlockList::Split(std::size_t index, std::int64_t position) {
  constexpr std::int32_t kLeast = kChunkEntries / 8;
  Chunk& full = chunks_[index];
  const auto begin = full.UsedBlocks.begin() + 1;
  const auto before = static_cast<std::int32_t>(std::upper_bound(begin, begin + kChunkEntries, position) - begin);
  const std::int32_t keep =
      before == 0 || before == kChunkEntries ? before : std::clamp(before, kLeast, kChunkEntries - kLeast);
  Chunk right;
  std::copy(begin + keep, begin + kChunkEntries, right.UsedBlocks.begin() + 1);
  right.UsedBlockCount = kChunkEntries - keep;
  full.UsedBlockCount = keep;
  const bool toLeft = before <= keep && keep < kChunkEntries;
  const auto at = static_cast<std::ptrdiff_t>(index) + 1;
  firsts_.insert(firsts_.begin() + at, right.UsedBlockCount > 0 ? right.UsedBlocks[1] : position);
  chunks_.insert(chunks_.begin() + at, std::move(right));
  return toLeft ? index : index + 1;
}

std::vector<std::int64_t> UsedBlockList::Entries() const {
  std::vector<std::int64_t> entries;
  entries.reserve(static_cast<std::size_t>(count_));
  for (const Chunk& chunk : chunks_)
    entries.insert(entries.end(), chunk.UsedBlocks.begin() + 1, chunk.UsedBlocks.begin() + 1 + chunk.UsedBlockCount);
  return entries;
}

bool IsBlockUsed(const std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t high) {
  while (low <= high) {
    // low + (high - low) / 2 cannot overflow; it equals (low + high) \ 2 for these non-negative bounds.
    const std::int32_t mid = low + (high - low) / 2;
    const std::int64_t entry = list[static_cast<std::size_t>(mid)];
    if (entry == position) return true;
    if (position < entry)
      high = mid - 1;
    else
      low = mid + 1;
  }
  return false;
}

void AddUsedBlock(std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t& count) {
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
