#include "engine/scan/CandidateSearch.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/scan/BlockLayout.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Windows' compilers do not keep the stack aligned for spilled 32-byte registers, so the wide search
// is for the other systems only.
#if defined(__SSE2__) && defined(__GNUC__) && !defined(_WIN32)
#define PALVENOR_WIDE_SEARCH 1
#include <immintrin.h>
#endif

namespace {

bool IsAsciiLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The search looks for the pattern's one byte that is not zero, and tests the bytes around each.
// It lies at index 1 of the pattern: its 0-based index in the window is the pattern's 1-based position.
constexpr std::uint8_t kKeyByte = kCandidatePattern[1];
static_assert(kKeyByte != 0 && kCandidatePattern[0] == 0 && kCandidatePattern[2] == 0 && kCandidatePattern[3] == 0);

// key points at the pattern's key byte.
bool LooksLikeBlock(const std::uint8_t* key) {
  const std::uint8_t* const area = key - 1;  // block offset kAreaSizeAt
  if (!std::equal(kCandidatePattern.begin(), kCandidatePattern.end(), area)) return false;
  // DataLength: its low 16 bits at most kAreaSize, its high 16 bits zero.
  const std::uint8_t* const length = area + (kDataLengthAt - kAreaSizeAt);
  return (length[0] | length[1] << 8) <= kAreaSize && length[2] == 0 && length[3] == 0 &&
         IsAsciiLetter(area[kCandidateReach]);
}

// The last position a window of size bytes is searched at: kWindowStep, or fewer in the short window
// of a store shorter than a window, whose tests must still find their bytes in it.
std::int64_t LastPosition(std::span<const std::uint8_t> window) {
  return std::min(kWindowStep, static_cast<std::int64_t>(window.size()) - kCandidateReach - 1);
}

// Index i (0-based) holds the pattern's key byte, so the pattern starts at 1-based position i.
template <typename OnPair>
std::int64_t SearchBytes(const std::uint8_t* base, std::int64_t i, std::int64_t last, OnPair& onPair) {
  while (i <= last) {
    const void* found = std::memchr(base + i, kKeyByte, static_cast<std::size_t>(last - i + 1));
    if (found == nullptr) return 0;
    i = static_cast<const std::uint8_t*>(found) - base;
    if (base[i + 1] == 0) onPair(i);
    if (LooksLikeBlock(base + i)) return i;
    ++i;
  }
  return 0;
}

// Tests the places marked in mask, bit n standing for position i + n, in order: the candidate, 0 when
// the marks run past the last position, or -1 when none is a candidate.
template <typename Mask, typename OnPair>
std::int64_t TestMarked(const std::uint8_t* base, std::int64_t i, std::int64_t last, Mask mask, OnPair& onPair) {
  while (mask != 0) {
    const std::int64_t at = i + std::countr_zero(mask);
    if (at > last) return 0;
    onPair(at);
    if (LooksLikeBlock(base + at)) return at;
    mask &= mask - 1;
  }
  return -1;
}

#if defined(PALVENOR_WIDE_SEARCH)
// The positions from at on that hold the key byte followed by a zero.
__attribute__((target("avx2"))) inline __m256i KeyPairs(const std::uint8_t* at) {
  const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 1));
  return _mm256_and_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8(static_cast<char>(kKeyByte))),
                          _mm256_cmpeq_epi8(next, _mm256_setzero_si256()));
}

// The search below, sixty-four positions at a time, where the processor has the 32-byte registers.
template <typename OnPair>
__attribute__((target("avx2"))) std::int64_t SearchWide(std::span<const std::uint8_t> window, std::int64_t from, OnPair& onPair) {
  const std::uint8_t* const base = window.data();
  const std::int64_t last = LastPosition(window);
  // A step reads up to i + 64; past lastStep the bytes are searched one by one.
  const std::int64_t lastStep = static_cast<std::int64_t>(window.size()) - 65;
  std::int64_t i = from;
  for (; i <= lastStep && i <= last; i += 64) {
    const __m256i low = KeyPairs(base + i);
    const __m256i high = KeyPairs(base + i + 32);
    const __m256i any = _mm256_or_si256(low, high);
    if (_mm256_testz_si256(any, any)) continue;
    auto mask = static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(low))) |
                static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high))) << 32;
    if (const std::int64_t found = TestMarked(base, i, last, mask, onPair); found >= 0) return found;
  }
  return SearchBytes(base, i, last, onPair);
}
#endif

#if defined(__SSE2__)
// Thirty-two positions at a time for the key byte and the zero after it, 02 00, which are rare in text and in binary data
// alike; in binary data the 02 byte alone is common enough to stop a byte search every few hundred
// bytes. The few places found are then tested byte by byte.
template <typename OnPair>
std::int64_t Search(std::span<const std::uint8_t> window, std::int64_t from, OnPair onPair) {
  const std::uint8_t* const base = window.data();
#if defined(PALVENOR_WIDE_SEARCH)
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) return SearchWide(window, from, onPair);
#endif
  const std::int64_t last = LastPosition(window);
  // A step reads up to i + 32; past lastStep the bytes are searched one by one.
  const std::int64_t lastStep = static_cast<std::int64_t>(window.size()) - 33;
  const __m128i zero = _mm_setzero_si128();
  const __m128i two = _mm_set1_epi8(static_cast<char>(kKeyByte));
  const auto twoZero = [&](std::int64_t at) {
    const auto load = [base](std::int64_t a) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + a)); };
    return _mm_and_si128(_mm_cmpeq_epi8(load(at), two), _mm_cmpeq_epi8(load(at + 1), zero));
  };
  std::int64_t i = from;
  for (; i <= lastStep && i <= last; i += 32) {
    const __m128i low = twoZero(i);
    const __m128i high = twoZero(i + 16);
    if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0) continue;
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(low)) | static_cast<unsigned>(_mm_movemask_epi8(high)) << 16;
    if (const std::int64_t found = TestMarked(base, i, last, mask, onPair); found >= 0) return found;
  }
  return SearchBytes(base, i, last, onPair);
}
#else
template <typename OnPair>
std::int64_t Search(std::span<const std::uint8_t> window, std::int64_t from, OnPair onPair) {
  return SearchBytes(window.data(), from, LastPosition(window), onPair);
}
#endif

}  // namespace

std::int64_t FindCandidate(std::span<const std::uint8_t> window, std::int64_t from) {
  return Search(window, from, [](std::int64_t) {});
}

std::int64_t FindCandidate(std::span<const std::uint8_t> window, std::int64_t from, PairWatcher& watcher) {
  return Search(window, from, [&watcher](std::int64_t at) { watcher.PairAt(at); });
}
