#include "engine/index/IndexReads.h"

#include <algorithm>

namespace {

// Big enough to hold the records that lie together, small enough to cost little where they do not.
constexpr std::int64_t kPieceSize = 32 * 1024;

}  // namespace

std::span<const std::uint8_t> IndexReads::Fetch(std::int64_t offset, std::int64_t length, IndexDamage& damage) {
  const std::int64_t fileLength = store_.FileLength();
  if (offset < 0 || length <= 0 || (fileLength >= 0 && offset + length > fileLength)) {
    damage = IndexDamage::OutsideFile;
    return {};
  }
  if (offset < pieceOffset_ || offset + length > pieceOffset_ + pieceHeld_) {
    piece_.resize(static_cast<std::size_t>(std::max(length, kPieceSize)));
    pieceOffset_ = offset;
    pieceHeld_ = store_.Read(offset, piece_);
    if (offset + length > pieceOffset_ + pieceHeld_) {
      damage = IndexDamage::OutsideFile;
      return {};
    }
  }
  if (!store_.Readable(offset, length)) {
    damage = IndexDamage::Unreadable;
    return {};
  }
  return std::span<const std::uint8_t>(piece_).subspan(static_cast<std::size_t>(offset - pieceOffset_),
                                                        static_cast<std::size_t>(length));
}
