#include "engine/scan/StoreReader.h"

#include <algorithm>
#include <utility>

namespace {

// The bytes the window from 1-based position start stands for: a whole window, or the rest of the
// file and one byte more.
std::size_t WindowSpan(std::int64_t length, std::int64_t start) {
  const std::int64_t remaining = length - start + 1;
  return static_cast<std::size_t>(remaining > kWindowSize - 1 ? kWindowSize : remaining + 1);
}

// What the search and its tests read of a window that stands for span bytes: a whole window, or past
// the store's end its bytes, one more and the reach of a match at the store's last position.
std::size_t SearchedBytes(std::size_t span) {
  return std::min(static_cast<std::size_t>(kWindowSize), span + static_cast<std::size_t>(kCandidateReach));
}

}  // namespace

std::int64_t ScanLength(std::int64_t fileLength) { return fileLength < 0 ? kUnknownStoreLength : fileLength; }

StoreReader::StoreReader(StoreReads& store, std::int64_t length, ThreadStart start, ScanBuffers* buffers)
    : store_(store),
      length_(length),
      buffers_(buffers != nullptr ? *buffers : ownBuffers_),
      bufferBytes_(SearchedBytes(WindowSpan(length, 1))),
      window_(buffers_.window.Get(bufferBytes_)),
      lines_(store, &buffers_.lines),
      start_(std::move(start)) {}

void StoreReader::LoadWindow(std::int64_t start) {
  const std::size_t span = WindowSpan(length_, start);
  const bool readAhead = reader_ && reader_->Finish();
  if (readAhead && start == aheadStart_)
    std::swap(window_, ahead_);
  else
    // Unreadable sectors are searched as zeros: they hold no candidate, and the scan goes on.
    static_cast<void>(store_.Read(start - 1, std::span(window_, span)));
  windowBytes_ = SearchedBytes(span);
  std::fill(window_ + span, window_ + windowBytes_, std::uint8_t{0});
  windowStart_ = start;
  windowSpan_ = static_cast<std::int64_t>(span);

  aheadStart_ = 0;
  const std::int64_t next = start + kWindowStep;
  if (next >= length_) return;
  if (!reader_) {
    ahead_ = buffers_.ahead.Get(bufferBytes_);
    reader_ = std::make_unique<WindowReadAhead>(store_, start_);
  }
  reader_->Start(next, std::span(ahead_, WindowSpan(length_, next)), next + kWindowStep >= length_);
  aheadStart_ = next;
}

bool StoreReader::InWindow(std::int64_t position) const {
  return position >= windowStart_ && position + kBlockSize <= windowStart_ + windowSpan_;
}

bool StoreReader::ReadBlock(std::int64_t position, DbxBlock& block) {
  if (position < 1 || position > length_) return false;
  if (!store_.Readable(position - 1, kBlockSize)) return false;
  if (InWindow(position)) {
    block = DecodeBlock(std::span<const std::uint8_t, kBlockSize>(window_ + (position - windowStart_), kBlockSize));
    return true;
  }
  outsideAt_ = 0;
  if (lines_.Copy(position - 1, outside_) < 0) return false;
  outsideAt_ = position;
  block = DecodeBlock(outside_);
  return true;
}

std::span<const std::uint8_t, kAreaSize> StoreReader::Data(std::int64_t position) {
  const std::uint8_t* block = outside_;
  if (InWindow(position)) {
    block = window_ + (position - windowStart_);
  } else if (position != outsideAt_) {
    // The lines still hold what ReadBlock read: a block's line and the next one's never share a slot.
    static_cast<void>(lines_.Copy(position - 1, outside_));
    outsideAt_ = position;
  }
  return std::span<const std::uint8_t, kAreaSize>(block + kDataAt, kAreaSize);
}
