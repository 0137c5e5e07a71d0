#pragma once
// The search of the scan's windows for message blocks that Outlook Express freed: their words read
// (OwnOffset, 0x1FC, 0x210), then NextOffset and the free-list link where the data began.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/BlockSource.h"

struct FreedCandidate {
  std::int64_t position = 0;  // 1-based
  std::uint32_t ownOffset = 0;
  std::uint32_t nextOffset = 0;
  std::uint32_t link = 0;  // the word at +0x10
  bool operator==(const FreedCandidate&) const = default;
};

// The bytes a candidate's header needs: five 32-bit words.
inline constexpr std::size_t kFreedHeaderBytes = 20;

// Appends every candidate whose header starts at window index 0 to count − 1 (window index 0 is
// 1-based position windowStart), in ascending order. The window holds count + 19 bytes at least.
// With pointerCheck, OwnOffset must equal the 0-based position modulo 2^32; OwnOffset 0 never passes.
void FindFreedBlocks(std::span<const std::uint8_t> window, std::int64_t windowStart, std::size_t count,
                     bool pointerCheck, std::vector<FreedCandidate>& found);

// The candidates of a whole scan, collected window by window.
class FreedBlocks {
 public:
  // blocks serves the few headers that run past the end of a window.
  FreedBlocks(bool pointerCheck, BlockSource& blocks) : pointerCheck_(pointerCheck), blocks_(blocks) {}

  // Searches the headers starting in the window's first step bytes, the part no later window covers:
  // the scan calls this once per window it loads, with its step of 1 MiB. Positions already searched
  // are skipped.
  void SearchWindow(std::span<const std::uint8_t> window, std::int64_t windowStart, std::size_t step);

  // In ascending order of position.
  const std::vector<FreedCandidate>& Candidates() const { return candidates_; }

 private:
  const bool pointerCheck_;
  BlockSource& blocks_;
  std::vector<FreedCandidate> candidates_;
  std::int64_t searchedTo_ = 1;  // the first position not yet searched
};
