// The window search finds exactly the first position a byte-by-byte reading of the rules finds.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/scan/CandidateSearch.h"
#include "engine/scan/StoreReader.h"

namespace {

// The rules read literally: the pattern starts at 1-based position m, so block offset h lies at
// window position m - 4 + h, that is at index m - 5 + h.
std::int64_t Reference(const std::vector<std::uint8_t>& w, std::int64_t from, std::int64_t last = kWindowStep) {
  for (std::int64_t m = from; m <= last; ++m) {
    const auto at = [&](std::int64_t position) { return w[static_cast<std::size_t>(position - 1)]; };
    if (at(m) != 0 || at(m + 1) != 2 || at(m + 2) != 0 || at(m + 3) != 0) continue;
    if ((at(m + 4) | at(m + 5) << 8) > 512 || at(m + 6) != 0 || at(m + 7) != 0) continue;
    const std::uint8_t first = at(m + 12);
    if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) return m;
  }
  return 0;
}

void Plant(std::vector<std::uint8_t>& w, std::int64_t m, std::uint8_t first, int length = 320) {
  const std::uint8_t header[] = {0, 2, 0, 0, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8), 0, 0};
  for (std::size_t i = 0; i < sizeof header; ++i) w[static_cast<std::size_t>(m) - 1 + i] = header[i];
  w[static_cast<std::size_t>(m + 11)] = first;
}

TEST(CandidateSearch, FindsTheFirstCandidateTheRulesFind) {
  std::mt19937 random(11);
  // Bytes that often make up part of the pattern, and candidates that fail one test each.
  const std::uint8_t alphabet[] = {0, 0, 0, 2, 2, 'A', 'z', '7', 1, 0xFF};
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    std::vector<std::uint8_t> w(static_cast<std::size_t>(kWindowSize));
    for (auto& byte : w) byte = alphabet[random() % std::size(alphabet)];
    // The edges of 16-, 32- and 64-byte steps, and of the byte-by-byte end of the window.
    const std::int64_t edges[] = {1,  2,  3,  4,  5,  16, 17, 18, 31, 32, 33, 63, 64, 65, 66, kWindowStep - 60,
                                  kWindowStep - 17, kWindowStep - 6, kWindowStep - 5, kWindowStep - 4, kWindowStep,
                                  kWindowStep + 1};
    for (const std::int64_t m : edges) {
      switch ((m + round) % 4) {
        case 0: Plant(w, m, 'Q'); break;
        case 1: Plant(w, m, '9'); break;        // not a letter
        case 2: Plant(w, m, 'q', 513); break;   // length beyond 512
        default: Plant(w, m, 'a', 512); break;  // the longest length
      }
    }
    for (std::int64_t k = 0; k < 64; ++k) Plant(w, 4097 + 65 * k, 'Q');  // every place within a 64-byte step
    std::vector<std::int64_t> froms = {1, 2, 3, 4, 5, 6, 17, 18, 33, 65, kWindowStep - 60, kWindowStep - 17, kWindowStep - 5,
                                       kWindowStep - 4, kWindowStep, kWindowStep + 1};
    for (int i = 0; i < 40; ++i) froms.push_back(1 + static_cast<std::int64_t>(random() % kWindowStep));
    for (const std::int64_t from : froms) {
      // The first candidate and the next few, as the scan resumes one byte after each.
      std::int64_t start = from;
      for (int next = 0; next < 4 && start <= kWindowStep + 1; ++next) {
        const std::int64_t expected = Reference(w, start);
        ASSERT_EQ(FindCandidate(w, start), expected) << "from " << start;
        if (expected == 0) break;
        start = expected + 1;
      }
    }
  }
}

TEST(CandidateSearch, AShortWindowIsSearchedWhereItHoldsEveryByteTheTestsRead) {
  std::mt19937 random(5);
  const std::uint8_t alphabet[] = {0, 0, 2, 'A', 'z', 1};
  for (const std::int64_t size : {0, 5, 13, 14, 30, 45, 77, 78, 100, 141, 1000}) {
    SCOPED_TRACE(size);
    // Exactly size bytes, so that a sanitizer sees any read beyond them.
    std::vector<std::uint8_t> w(static_cast<std::size_t>(size));
    for (auto& byte : w) byte = alphabet[random() % std::size(alphabet)];
    // The last place searched, the one after it, and one among the 32-byte steps.
    for (const std::int64_t m : {size - 13, size - 12, size / 2})
      if (m >= 1 && m + 11 < size) Plant(w, m, 'Q');
    std::vector<std::uint8_t> padded = w;
    padded.resize(static_cast<std::size_t>(kWindowSize), 0);
    for (std::int64_t from = 1; from <= size + 2; ++from)
      ASSERT_EQ(FindCandidate(w, from), Reference(padded, from, size - 13)) << "from " << from;
  }
}

TEST(CandidateSearch, WindowWithoutPatternHasNoCandidate) {
  const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(kWindowSize), 0);
  EXPECT_EQ(FindCandidate(zeros, 1), 0);
  std::vector<std::uint8_t> almost = zeros;
  Plant(almost, kWindowStep + 1, 'A');  // beyond the window's reach
  EXPECT_EQ(FindCandidate(almost, 1), 0);
  Plant(almost, kWindowStep, 'A');
  EXPECT_EQ(FindCandidate(almost, 1), kWindowStep);
}

}  // namespace
