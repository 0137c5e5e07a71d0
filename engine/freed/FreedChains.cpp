#include "engine/freed/FreedChains.h"

#include <algorithm>
#include <limits>

#include "engine/scan/BlockLayout.h"

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

std::size_t IndexAt(const std::vector<FreedCandidate>& candidates, std::int64_t position) {
  const auto found = std::lower_bound(candidates.begin(), candidates.end(), position,
                                      [](const FreedCandidate& c, std::int64_t p) { return c.position < p; });
  if (found == candidates.end() || found->position != position) return kNone;
  return static_cast<std::size_t>(found - candidates.begin());
}

// The candidate each one links to, or kNone.
std::vector<std::size_t> Successors(const std::vector<FreedCandidate>& candidates, std::int64_t fileLength) {
  std::vector<std::size_t> successors(candidates.size(), kNone);
  for (std::size_t a = 0; a < candidates.size(); ++a) {
    const FreedCandidate& from = candidates[a];
    if (from.nextOffset == 0) continue;
    const std::int64_t next = NextChainPosition(from.position, from.ownOffset, from.nextOffset, fileLength);
    if (next == 0) continue;
    const std::size_t b = IndexAt(candidates, next);
    if (b != kNone && b != a && candidates[b].link == from.ownOffset) successors[a] = b;
  }
  return successors;
}

}  // namespace

std::vector<FreedChain> LinkFreedBlocks(const std::vector<FreedCandidate>& candidates, std::int64_t fileLength) {
  const std::vector<std::size_t> successors = Successors(candidates, fileLength);
  std::vector<bool> linkedTo(candidates.size(), false);
  for (const std::size_t b : successors)
    if (b != kNone) linkedTo[b] = true;

  std::vector<bool> taken(candidates.size(), false);
  std::vector<FreedChain> chains;
  for (std::size_t head = 0; head < candidates.size(); ++head) {
    if (linkedTo[head]) continue;
    FreedChain chain;
    std::size_t at = head;
    while (true) {
      taken[at] = true;
      chain.blocks.push_back(candidates[at].position);
      if (candidates[at].nextOffset == 0) {
        chain.endsOnLastBlock = true;
        break;
      }
      at = successors[at];
      if (at == kNone || taken[at]) break;
    }
    chains.push_back(std::move(chain));
  }
  return chains;
}
