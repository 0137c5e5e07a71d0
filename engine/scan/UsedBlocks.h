#pragma once
// Positions of the second and later blocks of every chain walked in a run, so that no block is taken
// as a message start twice and tail pieces can be told from whole messages afterwards.
#include <cstddef>
#include <cstdint>
#include <vector>

// The ascending list is kept in chunks of at most kChunkEntries: a chunk holds its first entry apart
// and each later one as its distance to the entry before, in as few bytes as it needs (a block's 528
// takes two), so that a store's every block costs about two bytes, not eight. Chains mostly run
// forwards, and an entry beyond a chunk's last is appended without reading the chunk; any other is
// spliced in among the chunk's distances, or when the chunk is full placed by IsBlockUsed and
// AddUsedBlock in the chunk unpacked, which is then split. So chains that run backwards or jump about
// the store cost one chunk's work, not a shift of the whole list.
class UsedBlockList {
 public:
  static constexpr std::int32_t kChunkEntries = 128;

  bool Contains(std::int64_t position) const;
  // Enters the position unless it is already there.
  void Enter(std::int64_t position);
  std::int64_t UsedBlockCount() const { return count_; }
  // All entries in ascending order.
  std::vector<std::int64_t> Entries() const;

 private:
  struct Chunk {
    std::int64_t last = 0;
    std::int32_t count = 0;
    std::vector<std::uint8_t> steps;  // the distances after the first entry, 7 bits a byte, low bits first
  };
  std::size_t ChunkFor(std::int64_t position) const;
  // Puts the chunk's entries into unpacked_[1..count].
  void Unpack(std::size_t index);
  // Packs unpacked_[1..count] in place of the chunk, in two when they are more than a chunk holds, split
  // near where the position went in.
  void Pack(std::size_t index, std::int32_t count, std::int64_t position);
  // Makes the chunk the index-th, with room to grow forwards.
  void Insert(std::size_t index, Chunk chunk, std::int64_t first);

  std::vector<Chunk> chunks_;
  std::vector<std::int64_t> firsts_;  // the first entry of each chunk
  std::int64_t count_ = 0;
  // 1-based like the list it is a piece of: one chunk and the entry that overfills it.
  std::vector<std::int64_t> unpacked_ = std::vector<std::int64_t>(kChunkEntries + 2, 0);
};

// Binary search over entries low..high of the ascending list.
bool IsBlockUsed(const std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t high);
// Inserts the position in order unless it is present; the list must have room for one more entry.
void AddUsedBlock(std::vector<std::int64_t>& list, std::int64_t position, std::int32_t low, std::int32_t& count);
