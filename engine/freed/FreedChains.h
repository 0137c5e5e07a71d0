#pragma once
// The messages the freed blocks make up: each block linked to the next by its NextOffset and by the
// next block's free-list link, which names the block before it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/freed/FreedCandidates.h"

// One chain as FreedChains hands it out: where it starts and how many blocks follow the links.
struct FreedChain {
  std::size_t first = 0;         // the candidate index of its first block
  std::size_t blocks = 0;        // 0 when its first block overlaps a block taken before
  bool endsOnLastBlock = false;  // the last block's NextOffset is 0
};

// Block a links to block b when b is a candidate at the position a's NextOffset names (through a's
// displacement) and b's link word equals a's OwnOffset. A chain starts at each candidate no other
// links to and follows the links until a NextOffset of 0, a block with no link onwards, or a block
// taken already or overlapping one taken: blocks of a store never overlap, and so the chains never
// hold more blocks than the store has room for, whatever links its bytes make. Chains are walked one
// at a time in order of their first block and keep no container of their own.
class FreedChains {
 public:
  // candidates are in ascending order of position; fileLength is the store file's length in bytes.
  FreedChains(FreedCandidates candidates, std::int64_t fileLength);

  // The chains: one for each candidate no other links to.
  std::size_t Count() const { return heads_; }
  // The next chain, whose blocks are then taken; nullopt after the last.
  std::optional<FreedChain> Next();

  // The 1-based position of the block at a candidate index.
  std::int64_t Position(std::size_t index) const { return candidates_.Position(index); }
  // The index of the block after the one at index, within a chain that goes on past it.
  std::size_t After(std::size_t index) const { return candidates_.NextOffset(index); }

 private:
  bool OverlapsTaken(std::size_t index) const;

  FreedCandidates candidates_;
  std::vector<bool> linkedTo_;
  std::vector<bool> taken_;
  std::size_t heads_ = 0;
  std::size_t nextHead_ = 0;
};
