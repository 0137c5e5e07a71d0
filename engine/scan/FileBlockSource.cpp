#include "engine/scan/FileBlockSource.h"

#include <algorithm>

bool FileBlockSource::Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) {
  if (position < 1) return false;
  // Nothing read means the block starts at or beyond the end of the file.
  const std::int64_t got = file_.ReadAt(position - 1, bytes);
  if (got <= 0) return false;
  std::fill(bytes.begin() + got, bytes.end(), std::uint8_t{0});
  return true;
}
