#pragma once
#include "engine/scan/BlockSource.h"
#include "engine/scan/StoreReads.h"

// Blocks read straight from the store, one read each: for the few blocks read outside the scan's windows.
class FileBlockSource final : public BlockSource {
 public:
  explicit FileBlockSource(StoreReads& store) : store_(store) {}

  bool Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) override;

 private:
  StoreReads& store_;
};
