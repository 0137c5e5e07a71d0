#include "engine/freed/FreedBlocks.h"

#include <array>

namespace {

constexpr std::uint32_t kFreedAreaSize = 0x1FC;
constexpr std::uint32_t kFreedLength = 0x210;
// From a header's start to the 02 byte of its 0x210 word.
constexpr std::int64_t kPairOffset = 9;

std::uint32_t Word(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

void FreedBlocks::WindowLoaded(std::span<const std::uint8_t> window, std::int64_t windowStart) {
  window_ = window;
  windowStart_ = windowStart;
  std::array<std::uint8_t, kBlockSize> block{};
  for (std::int64_t at = 1; at < kPairOffset; ++at) {
    const std::int64_t position = windowStart + at - kPairOffset;
    if (window[at] == 0x02 && window[at + 1] == 0 && position >= 1 && blocks_.Read(position, block))
      Test(position, block.data());
  }
}

void FreedBlocks::PairAt(std::int64_t at) {
  // The window holds 12 bytes beyond its last search position: a header from index 0 on lies whole in it.
  if (at >= kPairOffset) Test(windowStart_ + at - kPairOffset, window_.data() + (at - kPairOffset));
}

void FreedBlocks::Test(std::int64_t position, const std::uint8_t* header) {
  if (Word(header + 4) != kFreedAreaSize || Word(header + 8) != kFreedLength) return;
  const std::uint32_t own = Word(header);
  if (own == 0 || (pointerCheck_ && own != static_cast<std::uint32_t>(position - 1))) return;
  // A place searched twice (a search resumed before its end) must not give a second candidate.
  if (candidates_.Size() != 0 && position <= candidates_.Position(candidates_.Size() - 1)) return;
  candidates_.Add(FreedCandidate{position, own, Word(header + 12), Word(header + 16)});
}
