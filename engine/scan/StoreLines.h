#pragma once
// Pieces of the store read whole and kept a while, for reading blocks that lie anywhere: the chains of
// a fragmented store wander within a few MiB, and cost one read per piece instead of one per block.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/scan/BlockLayout.h"
#include "engine/scan/ScanBuffers.h"
#include "engine/scan/StoreReads.h"

class StoreLines {
 public:
  // The lines are kept in buffer when one is given, else in a buffer of their own.
  explicit StoreLines(StoreReads& store, ReusedBuffer* buffer = nullptr);
  StoreLines(const StoreLines&) = delete;
  StoreLines& operator=(const StoreLines&) = delete;

  // Copies the kBlockSize bytes at 0-based offset into bytes, zeros where the file ends. Returns how
  // many of them the file held, or -1 when one of them cannot be read.
  std::int64_t Copy(std::int64_t offset, std::span<std::uint8_t, kBlockSize> bytes);

 private:
  // Slots of kLineSize bytes, line n holding the file from offset n × kLineSize in slot n mod the
  // slot count: kLineCount slots (8 MiB), or for a shorter file enough for every line a block of it
  // reaches into; allocated at the first block asked for.
  static constexpr std::int64_t kLineSize = 32 * 1024;
  static constexpr std::size_t kLineCount = 256;
  // The slot holding line lineNumber, read when it is not held.
  std::uint8_t* Line(std::int64_t lineNumber);

  StoreReads& store_;
  ReusedBuffer ownBuffer_;
  ReusedBuffer& buffer_;
  std::uint8_t* lines_ = nullptr;  // in buffer_
  std::vector<std::int64_t> lineNumbers_;  // per slot, the line it holds or -1
  std::vector<std::int64_t> lineFilled_;   // per slot, the bytes of it the file held
};
