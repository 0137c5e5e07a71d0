#include "engine/scan/StoreReads.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::int64_t kSector = 512;
// What many disks read, and fail, as one: a piece that fails is most likely one bad physical sector.
constexpr std::int64_t kPiece = 4096;
// The largest chunk a page cache reads, and fails, as one (a huge page).
constexpr std::int64_t kCacheChunk = 2 << 20;
// How often a thread waiting for another's reads after a failure lets the user interface answer.
constexpr std::chrono::milliseconds kAnswerEvery{20};

}  // namespace

StoreReads::StoreReads(const platform::StoreFile& file)
    : file_(file), fileLength_(file.Length()), stop_(nullptr) {}

StoreReads::StoreReads(const platform::StoreFile& file, const std::atomic<bool>& stop, std::function<void()> answer)
    : file_(file), fileLength_(file.Length()), stop_(&stop), answer_(std::move(answer)) {}

void StoreReads::Answer() const {
  if (answer_ && std::this_thread::get_id() == owner_) answer_();
}

template <typename Lock>
void StoreReads::Take(Lock& lock) const {
  // Elsewhere, and while no read has failed, the lock is taken as always.
  if (!anyFailure_.load(std::memory_order_acquire) || !answer_ || std::this_thread::get_id() != owner_) {
    lock.lock();
    return;
  }
  // A deadline on the system clock waits through pthread_rwlock_timed*lock, which thread checkers see;
  // a steady one goes through the clock* calls, which they do not yet know.
  while (!lock.try_lock_until(std::chrono::system_clock::now() + kAnswerEvery)) Answer();
}

std::int64_t StoreReads::Read(std::int64_t offset, std::span<std::uint8_t> out) {
  const auto size = static_cast<std::int64_t>(out.size());
  if (offset < 0) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    return 0;
  }
  bool failed = false;
  if (!NearFailure(offset, size)) {
    std::shared_lock lock(mutex_, std::defer_lock);
    Take(lock);
    const std::int64_t got = file_.ReadAt(offset, out);
    if (got >= 0) {
      std::fill(out.begin() + got, out.end(), std::uint8_t{0});
      return got;
    }
    MarkFailure(offset, size);
    failed = true;
  }
  std::unique_lock lock(mutex_, std::defer_lock);
  Take(lock);
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  Request request{offset, out, offset};
  if (!uncachedSector_) uncachedSector_ = file_.UncachedSectorSize();
  // Through the cache, a read that failed is read again in pieces at once; one whose bad sectors another
  // reader found meanwhile is read around them.
  if (*uncachedSector_ > 0)
    ReadSweeping(request, offset, offset + size);
  else if (failed && !platform::Touches(unreadable_, offset, size))
    Split(request, offset, offset + size);
  else
    ReadGaps(request, offset, offset + size);
  for (const auto* ranges : {&unreadable_, &notTried_})
    for (const platform::ByteRange& range : *ranges)
      if (range.offset < offset + size && range.End() > offset)
        request.heldEnd = std::max(request.heldEnd, std::min(offset + size, range.End()));
  return request.heldEnd - offset;
}

void StoreReads::ReadGaps(Request& request, std::int64_t begin, std::int64_t end) {
  std::vector<platform::ByteRange> known = unreadable_;
  for (const platform::ByteRange& range : notTried_) platform::AddMerged(known, range);
  for (const platform::ByteRange& gap : platform::Gaps(known, begin, end)) {
    Answer();
    if (stop_ != nullptr && stop_->load()) {
      AddWithinFile(notTried_, gap.offset, gap.End());
      anyUnreadable_.store(true, std::memory_order_release);
      continue;
    }
    const std::span<std::uint8_t> piece =
        request.out.subspan(static_cast<std::size_t>(gap.offset - request.offset), static_cast<std::size_t>(gap.length));
    const std::int64_t got = file_.ReadUncachedAt(gap.offset, piece);
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
  const std::int64_t sector = std::max(*uncachedSector_, kSector);
  if (begin / sector == (end - 1) / sector) {
    AddWithinFile(unreadable_, begin / sector * sector, begin / sector * sector + sector);
    anyUnreadable_.store(true, std::memory_order_release);
    return;
  }
  ReadPieces(request, begin, end, *uncachedSector_ == 0 && end - begin > kPiece ? kPiece : sector);
}

void StoreReads::ReadSweeping(Request& request, std::int64_t begin, std::int64_t end) {
  std::int64_t at = begin;
  for (const platform::ByteRange& fresh : platform::Gaps(swept_, begin, end)) {
    if (at < fresh.offset) ReadGaps(request, at, fresh.offset);
    ReadPieces(request, fresh.offset, fresh.End(), *uncachedSector_);
    platform::AddMerged(swept_, fresh);
    at = fresh.End();
  }
  if (at < end) ReadGaps(request, at, end);
}

void StoreReads::ReadPieces(Request& request, std::int64_t begin, std::int64_t end, std::int64_t size) {
  for (std::int64_t at = begin; at < end;) {
    const std::int64_t next = std::min(end, (at / size + 1) * size);
    ReadGaps(request, at, next);
    at = next;
  }
}

void StoreReads::AddWithinFile(std::vector<platform::ByteRange>& ranges, std::int64_t begin, std::int64_t end) {
  // Bytes beyond the file's end are zeros, neither unreadable nor skipped.
  if (fileLength_ >= 0) end = std::min(end, fileLength_);
  const std::lock_guard lock(rangesMutex_);
  if (end > begin) platform::AddMerged(ranges, {begin, end - begin});
}

bool StoreReads::NearFailure(std::int64_t offset, std::int64_t length) const {
  if (!anyFailure_.load(std::memory_order_acquire)) return false;
  const std::lock_guard lock(failuresMutex_);
  return platform::Touches(failedChunks_, offset, length);
}

void StoreReads::MarkFailure(std::int64_t offset, std::int64_t length) {
  const std::int64_t begin = offset / kCacheChunk * kCacheChunk;
  const std::int64_t end = (offset + length + kCacheChunk - 1) / kCacheChunk * kCacheChunk;
  const std::lock_guard lock(failuresMutex_);
  platform::AddMerged(failedChunks_, {begin, end - begin});
  anyFailure_.store(true, std::memory_order_release);
}

bool StoreReads::Readable(std::int64_t offset, std::int64_t length) const {
  if (!anyUnreadable_.load(std::memory_order_acquire)) return true;
  const std::lock_guard lock(rangesMutex_);
  return !platform::Touches(unreadable_, offset, length) && !platform::Touches(notTried_, offset, length);
}

std::vector<platform::ByteRange> StoreReads::Unreadable() const {
  const std::lock_guard lock(rangesMutex_);
  return unreadable_;
}

bool StoreReads::RetriesStopped() const {
  const std::lock_guard lock(rangesMutex_);
  return !notTried_.empty();
}
