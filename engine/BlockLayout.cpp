#include "engine/BlockLayout.h"

#include <cstring>

namespace {

std::int32_t LittleEndian32(const std::uint8_t* bytes) {
  const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                              static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

}  // namespace

DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes) {
  DbxBlock block;
  block.OwnOffset = LittleEndian32(bytes.data() + kOwnOffsetAt);
  block.AreaSize = LittleEndian32(bytes.data() + kAreaSizeAt);
  block.DataLength = LittleEndian32(bytes.data() + kDataLengthAt);
  block.NextOffset = LittleEndian32(bytes.data() + kNextOffsetAt);
  std::memcpy(block.Data, bytes.data() + kDataAt, sizeof block.Data);
  return block;
}
