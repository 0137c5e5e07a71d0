#include "engine/ChainStep.h"

namespace {

constexpr std::int64_t kWrap = std::int64_t{1} << 32;

}  // namespace

std::optional<std::int64_t> NextBlockOffset(std::int64_t offset, std::uint32_t ownOffset, std::uint32_t nextOffset,
                                            std::int64_t fileLength) {
  // The step modulo 2^32, taken as the shortest one: back by less than 2 GiB, or forward by up to 2 GiB.
  const std::uint32_t wrapped = nextOffset - ownOffset;
  const std::int64_t shortest = wrapped > kWrap / 2 ? std::int64_t{wrapped} - kWrap : std::int64_t{wrapped};
  std::int64_t next = offset + shortest;
  // When the nearest lies outside the file, the nearest of the others inside it lies whole turns of
  // 4 GiB towards the file: a store below 4 GiB whose chain jumps by more than 2 GiB, for one.
  if (next < 0) next += (-next + kWrap - 1) / kWrap * kWrap;
  if (next >= fileLength) next -= (next - fileLength + kWrap) / kWrap * kWrap;
  if (next < 0 || next >= fileLength) return std::nullopt;
  return next;
}
