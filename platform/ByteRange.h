#pragma once
// Stretches of a file's bytes, kept as an ascending list of ranges that neither overlap nor adjoin.
#include <cstdint>
#include <vector>

namespace platform {

// length bytes from the 0-based offset.
struct ByteRange {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  std::int64_t End() const { return offset + length; }
  bool operator==(const ByteRange&) const = default;
};

// Whether any range of the list shares a byte with the length bytes at offset.
[[nodiscard]] bool Touches(const std::vector<ByteRange>& ranges, std::int64_t offset, std::int64_t length);
// Adds range to the list, merged with the ranges it overlaps or adjoins; an empty range adds nothing.
void AddMerged(std::vector<ByteRange>& ranges, ByteRange range);
// The parts of [begin, end) that no range of the list covers, in ascending order.
[[nodiscard]] std::vector<ByteRange> Gaps(const std::vector<ByteRange>& ranges, std::int64_t begin, std::int64_t end);

}  // namespace platform
