#include "platform/ByteRange.h"

#include <algorithm>

namespace platform {
namespace {

// The first range that ends after offset.
std::vector<ByteRange>::const_iterator FirstEndingAfter(const std::vector<ByteRange>& ranges, std::int64_t offset) {
  return std::upper_bound(ranges.begin(), ranges.end(), offset,
                          [](std::int64_t at, const ByteRange& range) { return at < range.End(); });
}

}  // namespace

bool Touches(const std::vector<ByteRange>& ranges, std::int64_t offset, std::int64_t length) {
  if (length <= 0) return false;
  const auto range = FirstEndingAfter(ranges, offset);
  return range != ranges.end() && range->offset < offset + length;
}

void AddMerged(std::vector<ByteRange>& ranges, ByteRange range) {
  if (range.length <= 0) return;
  // The ranges that overlap or adjoin it: from the first ending at or after its start to the last
  // starting at or before its end.
  auto first = std::lower_bound(ranges.begin(), ranges.end(), range.offset,
                                [](const ByteRange& held, std::int64_t at) { return held.End() < at; });
  auto last = first;
  std::int64_t begin = range.offset;
  std::int64_t end = range.End();
  while (last != ranges.end() && last->offset <= end) {
    begin = std::min(begin, last->offset);
    end = std::max(end, last->End());
    ++last;
  }
  first = ranges.erase(first, last);
  ranges.insert(first, ByteRange{begin, end - begin});
}

std::vector<ByteRange> Gaps(const std::vector<ByteRange>& ranges, std::int64_t begin, std::int64_t end) {
  std::vector<ByteRange> gaps;
  for (auto range = FirstEndingAfter(ranges, begin); begin < end; ++range) {
    const std::int64_t stop = range == ranges.end() ? end : std::min(end, range->offset);
    if (stop > begin) gaps.push_back({begin, stop - begin});
    if (range == ranges.end()) break;
    begin = std::max(begin, range->End());
  }
  return gaps;
}

}  // namespace platform
