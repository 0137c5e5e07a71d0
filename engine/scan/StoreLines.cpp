#include "engine/scan/StoreLines.h"

#include <algorithm>
#include <cstring>

StoreLines::StoreLines(StoreReads& store)
    : store_(store), lineNumbers_(kLineCount, -1), lineFilled_(kLineCount, 0) {}

std::uint8_t* StoreLines::Line(std::int64_t lineNumber) {
  if (!lines_) lines_ = std::make_unique_for_overwrite<std::uint8_t[]>(kLineCount * kLineSize);
  const auto slot = static_cast<std::size_t>(lineNumber) % kLineCount;
  std::uint8_t* const line = lines_.get() + slot * kLineSize;
  if (lineNumbers_[slot] != lineNumber) {
    lineFilled_[slot] = store_.Read(lineNumber * kLineSize, std::span(line, kLineSize));
    lineNumbers_[slot] = lineNumber;
  }
  return line;
}

std::int64_t StoreLines::Copy(std::int64_t offset, std::span<std::uint8_t, kBlockSize> bytes) {
  const std::int64_t start = offset;
  std::int64_t held = 0;
  std::size_t done = 0;
  // A block may reach over the end of one line into the next.
  while (done < kBlockSize) {
    const std::int64_t lineNumber = offset / kLineSize;
    const std::uint8_t* line = Line(lineNumber);
    const std::int64_t within = offset % kLineSize;
    const std::size_t count = std::min<std::size_t>(kBlockSize - done, static_cast<std::size_t>(kLineSize - within));
    std::memcpy(bytes.data() + done, line + within, count);
    const std::int64_t filled = lineFilled_[static_cast<std::size_t>(lineNumber) % kLineCount];
    held += std::clamp<std::int64_t>(filled - within, 0, static_cast<std::int64_t>(count));
    done += count;
    offset += static_cast<std::int64_t>(count);
  }
  return store_.Readable(start, kBlockSize) ? held : -1;
}
