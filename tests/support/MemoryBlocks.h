#pragma once
// A store held in memory as the freed-message recovery reads it: whole blocks by position, and the
// scan's windows of 1 MiB one after another.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/freed/FreedBlocks.h"
#include "engine/scan/BlockSource.h"

namespace testsupport {

class MemoryBlocks final : public BlockSource {
 public:
  explicit MemoryBlocks(std::span<const std::uint8_t> store) : store_(store) {}
  bool Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) override;

 private:
  std::span<const std::uint8_t> store_;
};

// The freed-block candidates of the whole store, found window by window as the scan's candidate
// search passes over every position of each.
FreedCandidates SearchFreedBlocks(std::span<const std::uint8_t> store, bool pointerCheck);

}  // namespace testsupport
