#pragma once
// Positions of the second and later blocks of every chain walked in a run, so that no block is taken
// as a message start twice and tail pieces can be told from whole messages afterwards.
#include <cstddef>
#include <cstdint>
#include <vector>

// The ascending list is kept in chunks of at most kChunkEntries, each searched and filled by
// IsBlockUsed and AddUsedBlock: chains that run backwards or jump about the store then cost a short
// shift inside one chunk, not a shift of the whole list.
class UsedBlockList {
 public:
  static constexpr std::int32_t kChunkEntries = 1024;

  bool Contains(std::int64_t position) const;
  // Enters the position unless it is already there.
  void Enter(std::int64_t position);
  std::int64_t UsedBlockCount() const { return count_; }
  // All entries in ascending order.
  std::vector<std::int64_t> Entries() const;

 private:
  // 1-based like the list it is a piece of: slot 0 is unused, entries 1..count are valid.
  struct Chunk {
    std::vector<std::int64_t> UsedBlocks = std::vector<std::int64_t>(kChunkEntries + 1, 0);
    std::int32_t UsedBlockCount = 0;
  };
  std::size_t ChunkFor(std::int64_t position) const;
  std::size_t Split(std::size_t index, std::int64_t position);

  std::vector<Chunk> chunks_;
  std::vector<std::int64_t> firsts_;  // the first entry of each chunk
  std::int64_t count_ = 0;
};

// Binary search over entries low..high of the ascending list.
bool IsBlockUsed(const std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t high);
// Inserts the position in order unless it is present; the list must have room for one more entry.
void AddUsedBlock(std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t& count);
