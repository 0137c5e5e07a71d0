#include "tests/support/MemoryBlocks.h"

#include <algorithm>

#include "engine/scan/CandidateSearch.h"
#include "engine/scan/StoreReader.h"

namespace testsupport {

bool MemoryBlocks::Read(std::int64_t position, std::span<std::uint8_t, kBlockSize> bytes) {
  if (position < 1 || position > static_cast<std::int64_t>(store_.size())) return false;
  const std::span<const std::uint8_t> rest = store_.subspan(static_cast<std::size_t>(position - 1));
  const std::size_t count = std::min(rest.size(), bytes.size());
  std::copy_n(rest.begin(), count, bytes.begin());
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(count), bytes.end(), std::uint8_t{0});
  return true;
}

FreedCandidates SearchFreedBlocks(std::span<const std::uint8_t> store, bool pointerCheck) {
  MemoryBlocks blocks(store);
  FreedBlocks freed(pointerCheck, blocks);
  std::vector<std::uint8_t> window(static_cast<std::size_t>(kWindowSize));
  for (std::size_t start = 0; start < store.size(); start += static_cast<std::size_t>(kWindowStep)) {
    const std::size_t count = std::min(window.size(), store.size() - start);
    std::fill(std::copy_n(store.begin() + static_cast<std::ptrdiff_t>(start), count, window.begin()), window.end(),
              std::uint8_t{0});
    freed.WindowLoaded(window, static_cast<std::int64_t>(start) + 1);
    for (std::int64_t from = 1, m = 0; (m = FindCandidate(window, from, freed)) != 0;) from = m + 1;
  }
  return freed.TakeCandidates();
}

}  // namespace testsupport
