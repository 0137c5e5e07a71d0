#pragma once
// The messages the freed blocks make up: each block linked to the next by its NextOffset and by the
// next block's free-list link, which names the block before it.
#include <cstdint>
#include <vector>

#include "engine/freed/FreedBlocks.h"

struct FreedChain {
  std::vector<std::int64_t> blocks;  // 1-based positions, first block first
  bool endsOnLastBlock = false;      // the last block's NextOffset is 0
};

// Block a links to block b when b is a candidate at the position a's NextOffset names (through a's
// displacement) and b's link word equals a's OwnOffset. A chain starts at each candidate no other
// links to and follows the links until a NextOffset of 0, a block with no link onwards or a block
// already taken; each block belongs to one chain at most. candidates are in ascending order of
// position; fileLength is the store file's length in bytes.
std::vector<FreedChain> LinkFreedBlocks(const std::vector<FreedCandidate>& candidates, std::int64_t fileLength);
