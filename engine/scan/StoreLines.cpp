#include "engine/scan/StoreLines.h"

#include <algorithm>
#include <bit>
#include <cstring>

StoreLines::StoreLines(StoreReads& store, ReusedBuffer* buffer)
    : store_(store), buffer_(buffer != nullptr ? *buffer : ownBuffer_) {
  // A power of two, so that a line's slot is its number's low bits.
  const std::int64_t length = store.FileLength();
  const std::size_t slots =
      length < 0 ? kLineCount
                 : std::min(kLineCount, std::bit_ceil(static_cast<std::size_t>((length + kBlockSize - 2) / kLineSize + 1)));
  lineNumbers_.assign(slots, -1);
  lineFilled_.assign(slots, 0);
}

std::uint8_t* StoreLines::Line(std::int64_t lineNumber) {
  const std::size_t slots = lineNumbers_.size();
  if (lines_ == nullptr) lines_ = buffer_.Get(slots * kLineSize);
  const auto slot = static_cast<std::size_t>(lineNumber) & (slots - 1);
  std::uint8_t* const line = lines_ + slot * kLineSize;
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
    // A line's bytes beyond the end of the file are never written: they read as zero here.
    const std::int64_t filled = lineFilled_[static_cast<std::size_t>(lineNumber) & (lineFilled_.size() - 1)];
    const auto inFile = static_cast<std::size_t>(std::clamp<std::int64_t>(filled - within, 0, static_cast<std::int64_t>(count)));
    std::memcpy(bytes.data() + done, line + within, inFile);
    std::fill(bytes.data() + done + inFile, bytes.data() + done + count, std::uint8_t{0});
    held += static_cast<std::int64_t>(inFile);
    done += count;
    offset += static_cast<std::int64_t>(count);
  }
  return store_.Readable(start, kBlockSize) ? held : -1;
}
