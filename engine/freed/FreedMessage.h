#pragma once
// One freed message read from its chain of blocks and rebuilt.
#include <cstdint>
#include <optional>

#include "engine/freed/FreedChains.h"
#include "engine/freed/FreedText.h"
#include "engine/scan/BlockSource.h"

struct FreedMessage {
  FreedText text;
  std::int64_t firstBlock = 0;  // 1-based position
  std::size_t blocks = 0;       // blocks read
  // Ends on its last block, with every block read and a header at its start.
  bool complete = false;
};

// nullopt when the first block cannot be read or holds index data rather than mail. A read failure
// further on ends the message there.
std::optional<FreedMessage> ReadFreedMessage(const FreedChains& chains, const FreedChain& chain, BlockSource& blocks);

// The messages ReadFreedMessage would give from the chains not yet handed out, which are used up; only
// the first block of each is read.
std::int32_t CountFreedMessages(FreedChains& chains, BlockSource& blocks);
