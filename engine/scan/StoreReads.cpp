#include "engine/scan/StoreReads.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr std::int64_t kSector = 512;
// What many disks read, and fail, as one: a piece that fails is most likely one bad physical sector.
constexpr std::int64_t kPiece = 4096;

}  // namespace

StoreReads::StoreReads(const platform::StoreFile& file) : file_(file), fileLength_(file.Length()) {}

std::int64_t StoreReads::Read(std::int64_t offset, std::span<std::uint8_t> out) {
  const auto size = static_cast<std::int64_t>(out.size());
  if (offset < 0) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    return 0;
  }
  {
    const std::shared_lock lock(mutex_);
    if (!platform::Touches(unreadable_, offset, size)) {
      const std::int64_t got = file_.ReadAt(offset, out);
      if (got >= 0) {
        std::fill(out.begin() + got, out.end(), std::uint8_t{0});
        return got;
      }
    }
  }
  const std::unique_lock lock(mutex_);
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  Request request{offset, out, offset};
  // Another reader may have found the sectors at fault meanwhile; then only the rest is read.
  if (platform::Touches(unreadable_, offset, size))
    ReadGaps(request, offset, offset + size);
  else
    Split(request, offset, offset + size);
  for (const platform::ByteRange& range : unreadable_)
    if (range.offset < offset + size && range.End() > offset)
      request.heldEnd = std::max(request.heldEnd, std::min(offset + size, range.End()));
  return request.heldEnd - offset;
}

void StoreReads::ReadGaps(Request& request, std::int64_t begin, std::int64_t end) {
  for (const platform::ByteRange& gap : platform::Gaps(unreadable_, begin, end)) {
    const std::span<std::uint8_t> piece =
        request.out.subspan(static_cast<std::size_t>(gap.offset - request.offset), static_cast<std::size_t>(gap.length));
    const std::int64_t got = file_.ReadAt(gap.offset, piece);
    if (got >= 0) {
      request.heldEnd = std::max(request.heldEnd, gap.offset + got);
      continue;
    }
    // A failed read may have filled a part; the pieces read it again.
    std::fill(piece.begin(), piece.end(), std::uint8_t{0});
    Split(request, gap.offset, gap.End());
  }
}

void StoreReads::Split(Request& request, std::int64_t begin, std::int64_t end) {
  if (begin / kSector == (end - 1) / kSector) {
    RecordSector(begin / kSector * kSector);
    return;
  }
  const std::int64_t size = end - begin > kPiece ? kPiece : kSector;
  for (std::int64_t at = begin; at < end;) {
    const std::int64_t next = std::min(end, (at / size + 1) * size);
    ReadGaps(request, at, next);
    at = next;
  }
}

void StoreReads::RecordSector(std::int64_t sector) {
  // Bytes beyond the file's end are zeros, not unreadable.
  const std::int64_t end = fileLength_ < 0 ? sector + kSector : std::min(sector + kSector, fileLength_);
  if (end <= sector) return;
  platform::AddMerged(unreadable_, {sector, end - sector});
  anyUnreadable_.store(true, std::memory_order_release);
}

bool StoreReads::Readable(std::int64_t offset, std::int64_t length) const {
  if (!anyUnreadable_.load(std::memory_order_acquire)) return true;
  const std::shared_lock lock(mutex_);
  return !platform::Touches(unreadable_, offset, length);
}

std::vector<platform::ByteRange> StoreReads::Unreadable() const {
  const std::shared_lock lock(mutex_);
  return unreadable_;
}
