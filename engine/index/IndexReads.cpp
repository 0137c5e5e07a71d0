#include "engine/index/IndexReads.h"

#include <algorithm>

namespace {

// A piece holds at least a node or a record with its texts. Objects that lie together, each starting
// where the one before ended, are read in pieces that grow, so that a cluster of them costs a few
// reads; one that lies apart, as a record does beside its message, costs one small read of twice what
// the object before it needed, since a store's records are much alike in length (a kilobyte for each
// record of a hundred bytes made the reading 5 % slower). Growing on nearness alone would read on
// through the messages between the records.
constexpr std::int64_t kSmallestPiece = 256;
constexpr std::int64_t kApartPiece = 1024;
constexpr std::int64_t kLargestPiece = 64 * 1024;
constexpr std::int64_t kTogether = 64;

}  // namespace

std::span<const std::uint8_t> IndexReads::Fetch(std::int64_t offset, std::int64_t length, IndexDamage& damage) {
  const std::int64_t fileLength = store_.FileLength();
  if (offset < 0 || length <= 0 || (fileLength >= 0 && offset + length > fileLength)) {
    damage = IndexDamage::OutsideFile;
    return {};
  }
  if (offset < pieceOffset_ || offset + length > pieceOffset_ + pieceHeld_) {
    const std::int64_t gap = offset - lastObjectEnd_;
    const std::int64_t lastNeeded = lastObjectEnd_ - pieceOffset_;
    pieceSize_ = gap >= 0 && gap < kTogether
                     ? std::clamp(2 * pieceSize_, kApartPiece, kLargestPiece)
                     : std::clamp(lastNeeded > 0 ? 2 * lastNeeded : kApartPiece, kSmallestPiece, kApartPiece);
    piece_.resize(static_cast<std::size_t>(std::max(length, pieceSize_)));
    pieceOffset_ = offset;
    pieceHeld_ = store_.Read(offset, piece_);
    if (offset + length > pieceOffset_ + pieceHeld_) {
      damage = IndexDamage::OutsideFile;
      return {};
    }
  }
  lastObjectEnd_ = offset + length;
  if (!store_.Readable(offset, length)) {
    damage = IndexDamage::Unreadable;
    return {};
  }
  return std::span<const std::uint8_t>(piece_).subspan(static_cast<std::size_t>(offset - pieceOffset_),
                                                        static_cast<std::size_t>(length));
}
