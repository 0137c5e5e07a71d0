#include "engine/scan/BlockLayout.h"

namespace {

constexpr std::int64_t kOffsetWrap = std::int64_t{1} << 32;

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int32_t Signed32(std::uint32_t value) { return static_cast<std::int32_t>(value); }

}  // namespace

DbxBlock DecodeBlock(std::span<const std::uint8_t, kBlockSize> bytes) {
  DbxBlock block;
  block.OwnOffset = LittleEndian32(bytes.data() + kOwnOffsetAt);
  block.AreaSize = Signed32(LittleEndian32(bytes.data() + kAreaSizeAt));
  block.DataLength = Signed32(LittleEndian32(bytes.data() + kDataLengthAt));
  block.NextOffset = LittleEndian32(bytes.data() + kNextOffsetAt);
  return block;
}

bool StoresOwnOffset(std::int64_t position, const DbxBlock& block) {
  return block.OwnOffset == static_cast<std::uint32_t>(position - 1);
}

std::int64_t NextChainPosition(std::int64_t position, std::uint32_t ownOffset, std::uint32_t nextOffset,
                               std::int64_t length) {
  // The step modulo 2^32, taken as the shortest: back by less than 2 GiB, or forward by up to 2 GiB.
  const std::uint32_t wrapped = nextOffset - ownOffset;
  const std::int64_t step = wrapped > kOffsetWrap / 2 ? std::int64_t{wrapped} - kOffsetWrap : std::int64_t{wrapped};
  std::int64_t next = position + step;
  if (next < 1) next += (kOffsetWrap - next) / kOffsetWrap * kOffsetWrap;
  if (next > length) next -= (next - length + kOffsetWrap - 1) / kOffsetWrap * kOffsetWrap;
  return next >= 1 && next <= length ? next : 0;
}
