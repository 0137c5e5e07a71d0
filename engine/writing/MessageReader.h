#pragma once
// A planned message read again from the store: its chain followed block by block with positioned
// reads, giving exactly the bytes the scan's chain walk went through, without holding the message.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/scan/StoreLines.h"
#include "engine/scan/StoreReads.h"

// Takes the next bytes of a message; false ends the reading.
using MessageSink = std::function<bool(std::span<const std::uint8_t> bytes)>;

class MessageReader {
 public:
  // length: the store length the scan worked with. Each thread reads through a reader of its own.
  MessageReader(StoreReads& store, std::int64_t length);

  // Hands the first min(length, limit) bytes of the message of length bytes whose first block lies at
  // 1-based position start to sink, a block's data area (or its first part) at a time. False when a
  // block cannot be read or the chain leaves the store (the store changed since the scan) or the sink
  // said false: what was handed over is all there is.
  bool Read(std::int64_t start, std::int64_t length, std::int64_t limit, const MessageSink& sink);
  // Puts the first min(length, limit) bytes, or fewer when a block cannot be read, in bytes, whose
  // room is used again.
  void ReadStart(std::int64_t start, std::int64_t length, std::int64_t limit, std::vector<std::uint8_t>& bytes);

 private:
  // The 528 bytes of the block at position, through the buffer; nullptr when they cannot be read.
  const std::uint8_t* Block(std::int64_t position);

  StoreReads& store_;
  const std::int64_t length_;
  std::vector<std::uint8_t> buffer_;
  std::int64_t bufferStart_ = 0;  // 1-based position of buffer_[0]
  std::int64_t bufferSpan_ = 0;   // bytes of buffer_ that hold the store
  StoreLines lines_;
};
