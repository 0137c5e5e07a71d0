#include "engine/FreedBlocks.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::uint32_t kFreedAreaSize = 0x1FC;
constexpr std::uint32_t kFreedLength = 0x210;
// The bytes that tell a freed block's header: the words at +4 and +8.
constexpr std::size_t kMatchBytes = 12;

std::uint32_t Word(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// header holds at least kMatchBytes bytes of the block at 1-based position.
bool Matches(const std::uint8_t* header, std::int64_t position, bool pointerCheck) {
  if (Word(header + 4) != kFreedAreaSize || Word(header + 8) != kFreedLength) return false;
  const std::uint32_t own = Word(header);
  return own != 0 && (!pointerCheck || own == static_cast<std::uint32_t>(position - 1));
}

// header holds at least kFreedHeaderBytes bytes.
FreedCandidate Candidate(const std::uint8_t* header, std::int64_t position) {
  return FreedCandidate{position, Word(header), Word(header + 12), Word(header + 16)};
}

void TestAt(const std::uint8_t* base, std::size_t i, std::int64_t windowStart, bool pointerCheck,
            std::vector<FreedCandidate>& found) {
  const std::int64_t position = windowStart + static_cast<std::int64_t>(i);
  if (Matches(base + i, position, pointerCheck)) found.push_back(Candidate(base + i, position));
}

// Index by index from i; the fast search's tail and the whole search without SSE2.
void SearchBytes(const std::uint8_t* base, std::size_t i, std::size_t count, std::int64_t windowStart,
                 bool pointerCheck, std::vector<FreedCandidate>& found) {
  while (i < count) {
    // The first byte of the 0x1FC word is rare in text and in binary data.
    const void* fc = std::memchr(base + i + 4, 0xFC, count - i);
    if (fc == nullptr) return;
    i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(fc) - base) - 4;
    TestAt(base, i, windowStart, pointerCheck, found);
    ++i;
  }
}

}  // namespace

#if defined(__SSE2__)
// Sixty-four positions at a time for the bytes FC at +4 and 10 at +8, a pair that noise holds once in
// 65,536 positions; the places found are tested whole.
void FindFreedBlocks(std::span<const std::uint8_t> window, std::int64_t windowStart, std::size_t count,
                     bool pointerCheck, std::vector<FreedCandidate>& found) {
  const std::uint8_t* const base = window.data();
  const __m128i fc = _mm_set1_epi8(static_cast<char>(0xFC));
  const __m128i ten = _mm_set1_epi8(0x10);
  const auto pair = [&](std::size_t at) {
    const auto load = [base](std::size_t a) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + a)); };
    return _mm_and_si128(_mm_cmpeq_epi8(load(at + 4), fc), _mm_cmpeq_epi8(load(at + 8), ten));
  };
  std::size_t i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m128i m0 = pair(i);
    const __m128i m1 = pair(i + 16);
    const __m128i m2 = pair(i + 32);
    const __m128i m3 = pair(i + 48);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(m0, m1), _mm_or_si128(m2, m3))) == 0) continue;
    const std::uint64_t mask = static_cast<std::uint64_t>(_mm_movemask_epi8(m0)) |
                               static_cast<std::uint64_t>(_mm_movemask_epi8(m1)) << 16 |
                               static_cast<std::uint64_t>(_mm_movemask_epi8(m2)) << 32 |
                               static_cast<std::uint64_t>(_mm_movemask_epi8(m3)) << 48;
    for (std::uint64_t rest = mask; rest != 0; rest &= rest - 1)
      TestAt(base, i + static_cast<std::size_t>(__builtin_ctzll(rest)), windowStart, pointerCheck, found);
  }
  SearchBytes(base, i, count, windowStart, pointerCheck, found);
}
#else
void FindFreedBlocks(std::span<const std::uint8_t> window, std::int64_t windowStart, std::size_t count,
                     bool pointerCheck, std::vector<FreedCandidate>& found) {
  SearchBytes(window.data(), 0, count, windowStart, pointerCheck, found);
}
#endif

void FreedBlocks::SearchWindow(std::span<const std::uint8_t> window, std::int64_t windowStart, std::size_t step) {
  const std::int64_t end = windowStart + static_cast<std::int64_t>(step);
  if (end <= searchedTo_) return;
  const auto from = static_cast<std::size_t>(std::max<std::int64_t>(searchedTo_ - windowStart, 0));
  searchedTo_ = end;
  // Headers whose five words lie in the window are read from it.
  const std::size_t whole = window.size() < kFreedHeaderBytes ? 0 : window.size() - kFreedHeaderBytes + 1;
  const std::size_t fast = std::clamp(whole, from, step);
  if (fast > from)
    FindFreedBlocks(window.subspan(from), windowStart + static_cast<std::int64_t>(from), fast - from, pointerCheck_,
                    candidates_);
  // The last few reach past it: tested on the window where it holds their first words, and read whole
  // from the store only when they pass.
  std::array<std::uint8_t, kBlockSize> block{};
  for (std::size_t i = fast; i < step; ++i) {
    const std::int64_t position = windowStart + static_cast<std::int64_t>(i);
    if (i + kMatchBytes <= window.size() && !Matches(window.data() + i, position, pointerCheck_)) continue;
    if (blocks_.Read(position, block) && Matches(block.data(), position, pointerCheck_))
      candidates_.push_back(Candidate(block.data(), position));
  }
}
