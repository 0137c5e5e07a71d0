#include "engine/freed/FreedChains.h"

#include <algorithm>
#include <utility>

#include "engine/scan/BlockLayout.h"

namespace {

// What linking leaves in a block's NextOffset word besides the index of the block it links to.
constexpr std::uint32_t kLastBlock = 0xFFFF'FFFF;  // its NextOffset was 0
constexpr std::uint32_t kNoLink = 0xFFFF'FFFE;
static_assert(FreedCandidates::kMaxCount < kNoLink);

}  // namespace

FreedChains::FreedChains(FreedCandidates candidates, std::int64_t fileLength)
    : candidates_(std::move(candidates)), linkedTo_(candidates_.Size(), false), taken_(candidates_.Size(), false) {
  for (std::size_t a = 0; a < candidates_.Size(); ++a) {
    const std::uint32_t nextOffset = candidates_.NextOffset(a);
    std::uint32_t onward = nextOffset == 0 ? kLastBlock : kNoLink;
    const std::int64_t next =
        nextOffset == 0 ? 0 : NextChainPosition(Position(a), candidates_.OwnOffset(a), nextOffset, fileLength);
    if (next != 0) {
      const std::size_t b = candidates_.IndexAt(next);
      if (b != candidates_.Size() && b != a && candidates_.Link(b) == candidates_.OwnOffset(a)) {
        onward = static_cast<std::uint32_t>(b);
        linkedTo_[b] = true;
      }
    }
    candidates_.SetNextOffset(a, onward);
  }
  heads_ = static_cast<std::size_t>(std::count(linkedTo_.begin(), linkedTo_.end(), false));
}

bool FreedChains::OverlapsTaken(std::size_t index) const {
  const std::int64_t position = Position(index);
  for (std::size_t before = index; before > 0 && position - Position(before - 1) < kBlockSize; --before)
    if (taken_[before - 1]) return true;
  for (std::size_t after = index + 1; after < candidates_.Size() && Position(after) - position < kBlockSize; ++after)
    if (taken_[after]) return true;
  return false;
}

std::optional<FreedChain> FreedChains::Next() {
  while (nextHead_ < candidates_.Size() && linkedTo_[nextHead_]) ++nextHead_;
  if (nextHead_ == candidates_.Size()) return std::nullopt;
  FreedChain chain{nextHead_++, 0, false};
  for (std::size_t at = chain.first; !taken_[at] && !OverlapsTaken(at);) {
    taken_[at] = true;
    ++chain.blocks;
    const std::uint32_t onward = candidates_.NextOffset(at);
    if (onward == kLastBlock) {
      chain.endsOnLastBlock = true;
      break;
    }
    if (onward == kNoLink) break;
    at = onward;
  }
  return chain;
}
