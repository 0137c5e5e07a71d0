#pragma once
// The message blocks that Outlook Express freed, found in the same pass over the store as the block
// scan: their words read (OwnOffset, 0x1FC, 0x210), then NextOffset and the free-list link where the
// data began. The 0x210 word holds the bytes 02 00 that the candidate search looks for anyway, so the
// search hands every place it passes with them to these, and a freed header costs the scan nothing
// until that pair turns up.
#include <cstdint>
#include <span>
#include <utility>

#include "engine/freed/FreedCandidates.h"
#include "engine/scan/BlockSource.h"
#include "engine/scan/PairWatcher.h"

// The candidates of a whole scan, in ascending order of position. With pointerCheck, OwnOffset must
// equal the block's 0-based position modulo 2^32; an OwnOffset of 0 never passes.
class FreedBlocks final : public PairWatcher {
 public:
  // blocks serves the few headers that begin before the window holding their 0x210 word.
  FreedBlocks(bool pointerCheck, BlockSource& blocks) : pointerCheck_(pointerCheck), blocks_(blocks) {}

  // The scan loaded a window whose index 0 is 1-based position windowStart. Tests the headers whose
  // bytes 02 00 lie at window indices 1 to 8, which begin in the window before.
  void WindowLoaded(std::span<const std::uint8_t> window, std::int64_t windowStart) override;
  // The candidate search passed the bytes 02 00 at window index at (1 to 1,048,576), which a header
  // 9 bytes before holds in its 0x210 word.
  void PairAt(std::int64_t at) override;

  const FreedCandidates& Candidates() const { return candidates_; }
  FreedCandidates TakeCandidates() { return std::move(candidates_); }

 private:
  void Test(std::int64_t position, const std::uint8_t* header);

  const bool pointerCheck_;
  BlockSource& blocks_;
  std::span<const std::uint8_t> window_;
  std::int64_t windowStart_ = 1;
  FreedCandidates candidates_;
};
