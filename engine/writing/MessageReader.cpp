#include "engine/writing/MessageReader.h"

#include <algorithm>

#include "engine/scan/BlockLayout.h"

namespace {

// A chain that goes on forwards, as most do, is read in runs of this size; one that jumps is read
// through the store's lines, which its neighbours' chains then find held.
constexpr std::int64_t kRunBytes = 64 * 1024;

std::uint32_t Word(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

MessageReader::MessageReader(StoreReads& store, std::int64_t length)
    : store_(store), length_(length), buffer_(static_cast<std::size_t>(kRunBytes)), lines_(store) {}

const std::uint8_t* MessageReader::Block(std::int64_t position) {
  if (position < 1 || position > length_) return nullptr;
  // A block with a byte that cannot be read is not read at all.
  if (position >= bufferStart_ && position + kBlockSize <= bufferStart_ + bufferSpan_)
    return store_.Readable(position - 1, kBlockSize) ? buffer_.data() + (position - bufferStart_) : nullptr;
  const bool onwards = position >= bufferStart_ && position <= bufferStart_ + bufferSpan_;
  const std::int64_t got = onwards ? store_.Read(position - 1, buffer_)
                                   : lines_.Copy(position - 1, std::span(buffer_).first<kBlockSize>());
  if (got <= 0) {
    bufferSpan_ = 0;
    return nullptr;
  }
  // A block running past the end of the file reads zeros for the missing bytes, as in the scan.
  const std::int64_t span = std::max<std::int64_t>(got, kBlockSize);
  std::fill(buffer_.begin() + got, buffer_.begin() + span, std::uint8_t{0});
  bufferStart_ = position;
  bufferSpan_ = span;
  return store_.Readable(position - 1, kBlockSize) ? buffer_.data() : nullptr;
}

bool MessageReader::Read(std::int64_t start, std::int64_t length, std::int64_t limit, const MessageSink& sink) {
  std::int64_t remaining = std::min(length, limit);
  std::int64_t position = start;
  while (remaining > 0) {
    const std::uint8_t* block = Block(position);
    if (block == nullptr) return false;
    const std::int64_t take = std::min<std::int64_t>(remaining, kAreaSize);
    if (!sink(std::span(block + kDataAt, static_cast<std::size_t>(take)))) return false;
    remaining -= take;
    if (remaining == 0) break;
    DbxBlock header;
    header.OwnOffset = Word(block + kOwnOffsetAt);
    header.NextOffset = Word(block + kNextOffsetAt);
    position = NextChainPosition(position, header, length_);
    if (position == 0) return false;
  }
  return true;
}

void MessageReader::ReadStart(std::int64_t start, std::int64_t length, std::int64_t limit,
                              std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(std::min(length, limit)));
  Read(start, length, limit, [&bytes](std::span<const std::uint8_t> piece) {
    bytes.insert(bytes.end(), piece.begin(), piece.end());
    return true;
  });
}
