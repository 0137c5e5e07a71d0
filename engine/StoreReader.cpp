#include "engine/StoreReader.h"

#include <algorithm>
#include <cstring>

namespace {

// Chains leave the window in either direction (backward chains, displaced copies), so the cache
// reaches both ways from the block that missed.
constexpr std::int64_t kCacheSize = 64 * 1024;
constexpr std::int64_t kCacheBehind = kCacheSize / 2;

std::int32_t LittleEndian32(const std::uint8_t* bytes) {
  const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                              static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

// Reads span bytes from 1-based position start into buffer; what the file lacks is zero.
// Returns false when the system read fails.
bool Fill(const platform::StoreFile& file, std::int64_t start, std::span<std::uint8_t> buffer) {
  const std::int64_t got = file.ReadAt(start - 1, buffer);
  const std::size_t filled = got < 0 ? 0 : static_cast<std::size_t>(got);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(filled), buffer.end(), std::uint8_t{0});
  return got >= 0;
}

}  // namespace

std::int32_t ScanLength(std::int64_t fileLength) {
  if (fileLength < 0 || fileLength > kMaxPosition) return static_cast<std::int32_t>(kMaxPosition);
  return static_cast<std::int32_t>(fileLength);
}

DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes) {
  DbxBlock block;
  block.OwnOffset = LittleEndian32(bytes.data());
  block.AreaSize = LittleEndian32(bytes.data() + 4);
  block.DataLength = LittleEndian32(bytes.data() + 8);
  block.NextOffset = LittleEndian32(bytes.data() + 12);
  std::memcpy(block.Data, bytes.data() + 16, sizeof block.Data);
  return block;
}

StoreReader::StoreReader(const platform::StoreFile& file, std::int32_t length)
    : file_(file), length_(length), window_(static_cast<std::size_t>(kWindowSize), 0), cache_(kCacheSize, 0) {}

void StoreReader::LoadWindow(std::int64_t start) {
  const std::int64_t remaining = std::int64_t{length_} - start + 1;
  const std::int64_t span = remaining > kWindowSize - 1 ? kWindowSize : remaining + 1;
  // An unreadable stretch is searched as zeros: it holds no candidate, and the scan goes on.
  Fill(file_, start, std::span(window_).first(static_cast<std::size_t>(span)));
  std::fill(window_.begin() + static_cast<std::ptrdiff_t>(span), window_.end(), std::uint8_t{0});
  windowRegion_ = {start, span};
}

bool StoreReader::Holds(const Region& region, std::int64_t position) {
  return position >= region.start && position + kBlockSize <= region.start + region.span;
}

bool StoreReader::LoadCacheAround(std::int64_t position) {
  const std::int64_t start = std::max<std::int64_t>(1, position - kCacheBehind);
  if (!Fill(file_, start, cache_)) {
    cacheRegion_ = {};
    return false;
  }
  cacheRegion_ = {start, kCacheSize};
  return true;
}

bool StoreReader::ReadBlock(std::int64_t position, DbxBlock& block) {
  if (position < 1 || position > length_) return false;
  const std::uint8_t* bytes = nullptr;
  if (Holds(windowRegion_, position)) {
    bytes = window_.data() + (position - windowRegion_.start);
  } else {
    if (!Holds(cacheRegion_, position) && !LoadCacheAround(position)) return false;
    bytes = cache_.data() + (position - cacheRegion_.start);
  }
  block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(bytes, kBlockSize));
  return true;
}
