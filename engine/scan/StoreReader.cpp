#include "engine/scan/StoreReader.h"

#include <algorithm>

namespace {

// The bytes the window from 1-based position start stands for: a whole window, or the rest of the
// file and one byte more.
std::size_t WindowSpan(std::int64_t length, std::int64_t start) {
  const std::int64_t remaining = length - start + 1;
  return static_cast<std::size_t>(remaining > kWindowSize - 1 ? kWindowSize : remaining + 1);
}

}  // namespace

std::int64_t ScanLength(std::int64_t fileLength) { return fileLength < 0 ? kUnknownStoreLength : fileLength; }

StoreReader::StoreReader(const platform::StoreFile& file, std::int64_t length, ThreadStart start)
    : file_(file), length_(length), window_(static_cast<std::size_t>(kWindowSize), 0), lines_(file),
      start_(std::move(start)) {}

void StoreReader::LoadWindow(std::int64_t start) {
  const std::size_t span = WindowSpan(length_, start);
  const bool readAhead = reader_ && reader_->Finish();
  if (readAhead && start == aheadStart_)
    window_.swap(ahead_);
  else
    // An unreadable stretch is searched as zeros: it holds no candidate, and the scan goes on.
    ReadStoreBytes(file_, start, std::span(window_).first(span));
  std::fill(window_.begin() + static_cast<std::ptrdiff_t>(span), window_.end(), std::uint8_t{0});
  windowStart_ = start;
  windowSpan_ = static_cast<std::int64_t>(span);

  aheadStart_ = 0;
  const std::int64_t next = start + kWindowStep;
  if (next >= length_) return;
  if (!reader_) {
    ahead_.resize(static_cast<std::size_t>(kWindowSize));
    reader_ = std::make_unique<WindowReadAhead>(file_, start_);
  }
  reader_->Start(next, std::span(ahead_).first(WindowSpan(length_, next)));
  aheadStart_ = next;
}

bool StoreReader::ReadBlock(std::int64_t position, DbxBlock& block) {
  if (position < 1 || position > length_) return false;
  if (position >= windowStart_ && position + kBlockSize <= windowStart_ + windowSpan_) {
    block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(window_.data() + (position - windowStart_), kBlockSize));
    return true;
  }
  std::uint8_t bytes[kBlockSize];
  if (lines_.Copy(position - 1, bytes) < 0) return false;
  block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(bytes, kBlockSize));
  return true;
}
