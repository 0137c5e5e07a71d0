#include "engine/StoreReader.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads span bytes from 1-based position start into buffer; what the file lacks is zero.
// Returns false when the system read fails.
bool Fill(const platform::StoreFile& file, std::int64_t start, std::span<std::uint8_t> buffer) {
  const std::int64_t got = file.ReadAt(start - 1, buffer);
  const std::size_t filled = got < 0 ? 0 : static_cast<std::size_t>(got);
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(filled), buffer.end(), std::uint8_t{0});
  return got >= 0;
}

}  // namespace

std::int64_t ScanLength(std::int64_t fileLength) { return fileLength < 0 ? kUnknownStoreLength : fileLength; }

StoreReader::StoreReader(const platform::StoreFile& file, std::int64_t length)
    : file_(file), length_(length), window_(static_cast<std::size_t>(kWindowSize), 0), lineNumbers_(kLineCount, -1) {}

void StoreReader::LoadWindow(std::int64_t start) {
  const std::int64_t remaining = length_ - start + 1;
  const std::int64_t span = remaining > kWindowSize - 1 ? kWindowSize : remaining + 1;
  // An unreadable stretch is searched as zeros: it holds no candidate, and the scan goes on.
  Fill(file_, start, std::span(window_).first(static_cast<std::size_t>(span)));
  std::fill(window_.begin() + static_cast<std::ptrdiff_t>(span), window_.end(), std::uint8_t{0});
  windowStart_ = start;
  windowSpan_ = span;
}

const std::uint8_t* StoreReader::Line(std::int64_t lineNumber) {
  if (!lines_) lines_ = std::make_unique_for_overwrite<std::uint8_t[]>(kLineCount * kLineSize);
  const auto slot = static_cast<std::size_t>(lineNumber) % kLineCount;
  std::uint8_t* const line = lines_.get() + slot * kLineSize;
  if (lineNumbers_[slot] != lineNumber) {
    lineNumbers_[slot] = -1;
    if (!Fill(file_, lineNumber * kLineSize + 1, std::span(line, kLineSize))) return nullptr;
    lineNumbers_[slot] = lineNumber;
  }
  return line;
}

bool StoreReader::ReadBlock(std::int64_t position, DbxBlock& block) {
  if (position < 1 || position > length_) return false;
  if (position >= windowStart_ && position + kBlockSize <= windowStart_ + windowSpan_) {
    block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(window_.data() + (position - windowStart_), kBlockSize));
    return true;
  }
  // A block may reach over the end of one line into the next.
  std::uint8_t bytes[kBlockSize];
  std::int64_t offset = position - 1;
  std::size_t done = 0;
  while (done < kBlockSize) {
    const std::uint8_t* line = Line(offset / kLineSize);
    if (line == nullptr) return false;
    const std::int64_t within = offset % kLineSize;
    const std::size_t count = std::min<std::size_t>(kBlockSize - done, static_cast<std::size_t>(kLineSize - within));
    std::memcpy(bytes + done, line + within, count);
    done += count;
    offset += static_cast<std::int64_t>(count);
  }
  block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(bytes, kBlockSize));
  return true;
}
