#pragma once
// Whole 528-byte blocks read by position, from a store file or from memory.
#include <cstdint>
#include <span>

#include "engine/scan/BlockLayout.h"

class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // The 528 bytes at 1-based position; bytes beyond the end of the file read as zero. False when the
  // block starts at or beyond the end of the file, or the read fails.
  virtual bool Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) = 0;
};
