#include "engine/scan/FileBlockSource.h"

bool FileBlockSource::Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) {
  if (position < 1) return false;
  // Nothing held means the block starts at or beyond the end of the file.
  return store_.Read(position - 1, bytes) > 0 && store_.Readable(position - 1, kBlockSize);
}
