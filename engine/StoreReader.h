#pragma once
// Reads the store through a window of about 1 MiB and serves 528-byte blocks, from memory wherever the
// block already lies in the window or in a small cache around the last block read outside it.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/modDBXFile.h"
#include "platform/Files.h"

inline constexpr std::int64_t kWindowStep = 1'048'576;
inline constexpr std::int64_t kWindowSize = 1'048'589;
inline constexpr std::int64_t kMaxPosition = 2'147'483'647;

// The length the scan works with: the file's length capped at the largest 32-bit position, or that
// cap when the length is unknown. Never the low 32 bits of a larger length.
std::int32_t ScanLength(std::int64_t fileLength);

class StoreReader {
 public:
  StoreReader(const platform::StoreFile& file, std::int32_t length);

  std::int32_t Length() const { return length_; }

  // Fills the window from 1-based position start; bytes beyond the end of the file read as zero.
  void LoadWindow(std::int64_t start);
  // The whole window buffer, always kWindowSize bytes; index 0 is window position 1.
  std::span<const std::uint8_t> Window() const { return window_; }

  // Reads the block at 1-based position. Fails when the position lies outside 1..Length() or the
  // system read fails; a block running past the end of the file reads zeros for the missing bytes.
  bool ReadBlock(std::int64_t position, DbxBlock& block);

 private:
  struct Region {
    std::int64_t start = 0;  // 1-based position of buffer[0]
    std::int64_t span = 0;   // bytes that buffer stands for; those the file lacks are zero
  };
  static bool Holds(const Region& region, std::int64_t position);
  bool LoadCacheAround(std::int64_t position);

  const platform::StoreFile& file_;
  std::int32_t length_;
  std::vector<std::uint8_t> window_;
  Region windowRegion_;
  std::vector<std::uint8_t> cache_;
  Region cacheRegion_;
};

// Decodes a block from its 528 stored bytes.
DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes);
