#pragma once
#include "engine/scan/BlockSource.h"
#include "platform/Files.h"

// Blocks read straight from an open store file, one read each: for the few blocks read outside the
// scan's windows.
class FileBlockSource final : public BlockSource {
 public:
  explicit FileBlockSource(const platform::StoreFile& file) : file_(file) {}

  bool Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) override;

 private:
  const platform::StoreFile& file_;
};
