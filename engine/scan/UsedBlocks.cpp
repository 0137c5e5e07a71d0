#include "engine/scan/UsedBlocks.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Room for a full chunk of entries one block apart, so that a chunk filled forwards is allocated once.
constexpr std::size_t kStepBytes = 2 * (UsedBlockList::kChunkEntries - 1);

// The most bytes a distance takes, 7 bits a byte.
constexpr std::size_t kMostStepBytes = 10;

// Writes the distance into out; the bytes it took.
std::size_t PutStep(std::int64_t distance, std::uint8_t* out) {
  auto rest = static_cast<std::uint64_t>(distance);
  std::size_t count = 0;
  for (; rest >= 0x80; rest >>= 7) out[count++] = static_cast<std::uint8_t>(rest | 0x80);
  out[count++] = static_cast<std::uint8_t>(rest);
  return count;
}

void AppendStep(std::vector<std::uint8_t>& steps, std::int64_t distance) {
  std::uint8_t bytes[kMostStepBytes];
  steps.insert(steps.end(), bytes, bytes + PutStep(distance, bytes));
}

std::int64_t ReadStep(const std::uint8_t*& at) {
  std::uint64_t distance = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t byte = *at++;
    distance |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return static_cast<std::int64_t>(distance);
  }
}

// Puts the position, which lies below the chunk's last entry, among its steps unless it is there: in
// front of its first entry as the distance to it, else as two distances in place of the one it falls
// into, which take at least as many bytes. Whether it was put.
bool Splice(std::vector<std::uint8_t>& steps, std::int64_t first, std::int64_t position) {
  std::uint8_t bytes[2 * kMostStepBytes];
  if (position < first) {
    steps.insert(steps.begin(), bytes, bytes + PutStep(first - position, bytes));
    return true;
  }
  const std::uint8_t* const begin = steps.data();
  for (const std::uint8_t* at = begin;;) {
    const std::uint8_t* const stepStart = at;
    const std::int64_t next = first + ReadStep(at);
    if (next == position) return false;
    if (next > position) {
      std::size_t count = PutStep(position - first, bytes);
      count += PutStep(next - position, bytes + count);
      const auto from = steps.begin() + (stepStart - begin);
      const auto replaced = static_cast<std::size_t>(at - stepStart);
      std::copy(bytes, bytes + replaced, from);
      steps.insert(from + static_cast<std::ptrdiff_t>(replaced), bytes + replaced, bytes + count);
      return true;
    }
    first = next;
  }
}

}  // namespace

std::size_t UsedBlockList::ChunkFor(std::int64_t position) const {
  // The last chunk that starts at or before the position; the first one for smaller positions.
  const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), position);
  return after == firsts_.begin() ? 0 : static_cast<std::size_t>(after - firsts_.begin() - 1);
}

bool UsedBlockList::Contains(std::int64_t position) const {
  if (chunks_.empty()) return false;
  const std::size_t index = ChunkFor(position);
  const Chunk& chunk = chunks_[index];
  std::int64_t entry = firsts_[index];
  if (position < entry || position > chunk.last) return false;
  // The chunk's last entry ends the walk at the latest.
  for (const std::uint8_t* at = chunk.steps.data(); entry < position;) entry += ReadStep(at);
  return entry == position;
}

void UsedBlockList::Enter(std::int64_t position) {
  if (chunks_.empty() || (position < firsts_.front() && chunks_.front().count == kChunkEntries)) {
    Insert(0, {position, 1, {}}, position);
    ++count_;
    return;
  }
  const std::size_t index = ChunkFor(position);
  Chunk& chunk = chunks_[index];
  if (position > chunk.last) {
    // Below the next chunk's first entry, since this chunk is the last that starts at or before it.
    if (chunk.count == kChunkEntries) {
      Insert(index + 1, {position, 1, {}}, position);
      ++count_;
      return;
    }
    AppendStep(chunk.steps, position - chunk.last);
    chunk.last = position;
    ++chunk.count;
    ++count_;
    return;
  }
  if (position == chunk.last || position == firsts_[index]) return;
  if (chunk.count < kChunkEntries) {
    if (!Splice(chunk.steps, firsts_[index], position)) return;
    firsts_[index] = std::min(firsts_[index], position);
    ++chunk.count;
    ++count_;
    return;
  }
  Unpack(index);
  std::int32_t count = chunk.count;
  AddUsedBlock(unpacked_, position, 1, count);
  if (count == chunk.count) return;
  ++count_;
  Pack(index, count, position);
}

void UsedBlockList::Insert(std::size_t index, Chunk chunk, std::int64_t first) {
  chunk.steps.reserve(kStepBytes);
  const auto at = static_cast<std::ptrdiff_t>(index);
  firsts_.insert(firsts_.begin() + at, first);
  chunks_.insert(chunks_.begin() + at, std::move(chunk));
}

void UsedBlockList::Unpack(std::size_t index) {
  const Chunk& chunk = chunks_[index];
  unpacked_[1] = firsts_[index];
  const std::uint8_t* at = chunk.steps.data();
  for (std::int32_t i = 2; i <= chunk.count; ++i) unpacked_[i] = unpacked_[i - 1] + ReadStep(at);
}

void UsedBlockList::Pack(std::size_t index, std::int32_t count, std::int64_t position) {
  // A chunk overfilled by a run of descending positions leaves a full chunk behind it; elsewhere each part
  // keeps at least an eighth.
  constexpr std::int32_t kLeast = kChunkEntries / 8;
  const auto begin = unpacked_.begin() + 1;
  const auto at = static_cast<std::int32_t>(std::lower_bound(begin, begin + count, position) - begin);
  const std::int32_t keep = count <= kChunkEntries ? count : at == 0 ? 1 : std::clamp(at, kLeast, kChunkEntries - kLeast);
  const auto packed = [this](std::int32_t from, std::int32_t to) {
    Chunk chunk{unpacked_[static_cast<std::size_t>(to)], to - from + 1, {}};
    chunk.steps.reserve(kStepBytes);
    for (std::int32_t i = from + 1; i <= to; ++i) AppendStep(chunk.steps, unpacked_[i] - unpacked_[i - 1]);
    return chunk;
  };
  chunks_[index] = packed(1, keep);
  firsts_[index] = unpacked_[1];
  if (keep == count) return;
  Insert(index + 1, packed(keep + 1, count), unpacked_[static_cast<std::size_t>(keep) + 1]);
}

std::vector<std::int64_t> UsedBlockList::Entries() const {
  std::vector<std::int64_t> entries;
  entries.reserve(static_cast<std::size_t>(count_));
  for (std::size_t index = 0; index < chunks_.size(); ++index) {
    std::int64_t entry = firsts_[index];
    entries.push_back(entry);
    const std::uint8_t* at = chunks_[index].steps.data();
    for (std::int32_t i = 1; i < chunks_[index].count; ++i) entries.push_back(entry += ReadStep(at));
  }
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
