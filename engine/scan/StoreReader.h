#pragma once
// Reads the store through a window of about 1 MiB (less at the store's end) and serves 528-byte
// blocks from memory: from the window when the block lies in it, otherwise from pieces of the file
// read whole and kept a while.
// While the scan searches one window, a thread of its own reads the one that follows it.
#include <cstdint>
#include <memory>
#include <span>

#include "engine/scan/BlockLayout.h"
#include "engine/scan/ScanBuffers.h"
#include "engine/scan/StoreLines.h"
#include "engine/scan/StoreReads.h"
#include "engine/scan/ThreadStart.h"
#include "engine/scan/WindowReadAhead.h"

// The length the scan works with: the file's whole length, or kUnknownStoreLength when it is unknown.
std::int64_t ScanLength(std::int64_t fileLength);

class StoreReader {
 public:
  // The read-ahead's thread is started through start. The windows and lines are kept in buffers when
  // given (which must outlive the reader), else in buffers of the reader's own.
  StoreReader(StoreReads& store, std::int64_t length, ThreadStart start = StartThread, ScanBuffers* buffers = nullptr);
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;

  std::int64_t Length() const { return length_; }

  // Fills the window from 1-based position start; bytes beyond the end of the file read as zero.
  void LoadWindow(std::int64_t start);
  // The loaded window, kWindowSize bytes; one that reaches past the store's end holds only the
  // store's bytes, one more and the reach of a match at the store's last position (see
  // FindCandidate). Index 0 is window position 1.
  std::span<const std::uint8_t> Window() const { return {window_, windowBytes_}; }

  // Reads the header of the block at 1-based position. Fails when the position lies outside
  // 1..Length() or a byte of the block cannot be read; a block running past the end of the file reads
  // zeros for the missing bytes.
  bool ReadBlock(std::int64_t position, DbxBlock& block);
  // The Data of a block that ReadBlock read, where it lies in the window; a block outside it is copied
  // out of the lines. Valid until the next call of any member.
  std::span<const std::uint8_t, kAreaSize> Data(std::int64_t position);

 private:
  // Whether the block at position lies whole in the window.
  bool InWindow(std::int64_t position) const;

  StoreReads& store_;
  std::int64_t length_;
  ScanBuffers ownBuffers_;
  ScanBuffers& buffers_;
  // Of window_ and ahead_: kWindowSize, or what the one window of a shorter store needs. Only what a
  // window needs is written, so that a short window costs no more than its bytes.
  const std::size_t bufferBytes_;
  std::uint8_t* window_;  // in buffers_
  std::size_t windowBytes_ = 0;  // of window_, searched
  std::int64_t windowStart_ = 0;  // 1-based position of window_[0]
  std::int64_t windowSpan_ = 0;   // bytes the window stands for; those the file lacks are zero
  StoreLines lines_;  // for blocks outside the window
  std::uint8_t outside_[kBlockSize] = {};  // the last block read outside the window
  std::int64_t outsideAt_ = 0;  // its position; 0 when none is held
  ThreadStart start_;
  // The window after the loaded one, read while the loaded one is searched; its buffer trades places
  // with window_ when the scan moves on to it, and the read is wasted when the scan leaps further.
  std::uint8_t* ahead_ = nullptr;  // in buffers_
  std::int64_t aheadStart_ = 0;  // 1-based position of ahead_[0]; 0 while nothing is read ahead
  std::unique_ptr<WindowReadAhead> reader_;  // last, so that its thread ends before the buffers go
};
