#pragma once
// Every read of the store in a run goes through one StoreReads, which reads around the sectors that
// cannot be read and keeps the ranges they cover. A healthy store costs one read per request, as
// before. Only after a read fails is the range read again, past the system's cache where it allows,
// sector by sector: the device then sees each bad sector three times at most (the cache's read that
// failed, the cache's own read again of its chunk, and the sector's). Where the cache cannot be
// bypassed, the range is read again in 4 KiB pieces and then 512-byte sectors. A sector once found
// unreadable is never read again by anyone, and the chunks around a failure are read past the cache
// from then on, since the cache would read the bad sector again with any of its neighbours.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/ByteRange.h"
#include "platform/Files.h"

class StoreReads {
 public:
  explicit StoreReads(const platform::StoreFile& file);
  // stop: the run's stop request; once it is set, the reads of pieces after a failure are skipped.
  // answer: lets the user interface answer, and a Stop arrive; called on the constructing thread alone,
  // between the reads after a failure and while that thread waits for another reader's.
  StoreReads(const platform::StoreFile& file, const std::atomic<bool>& stop, std::function<void()> answer);
  StoreReads(const StoreReads&) = delete;
  StoreReads& operator=(const StoreReads&) = delete;

  // Reads out.size() bytes at the 0-based offset. What the store cannot give, beyond its end, in an
  // unreadable sector or in a piece skipped after a stop, reads as zero. Returns how many of the bytes
  // lie within the file (readable or not); the rest lie beyond its end. Safe to call from several
  // threads at once.
  std::int64_t Read(std::int64_t offset, std::span<std::uint8_t> out);
  // The file's length in bytes, or -1 when it cannot be told.
  [[nodiscard]] std::int64_t FileLength() const { return fileLength_; }
  // Whether none of the length bytes at offset lies in a range found unreadable or skipped so far.
  [[nodiscard]] bool Readable(std::int64_t offset, std::int64_t length) const;
  // The ranges found unreadable so far, merged, in ascending order.
  [[nodiscard]] std::vector<platform::ByteRange> Unreadable() const;
  // Whether a stop left pieces after a failure unread: they are neither readable nor unreadable.
  [[nodiscard]] bool RetriesStopped() const;
  // Calls answer when on the constructing thread; for whoever waits there for a reader on another.
  void Answer() const;

 private:
  // One request served piece by piece after a read failed.
  struct Request {
    std::int64_t offset;
    std::span<std::uint8_t> out;
    std::int64_t heldEnd;  // one past the last byte read that the file held
  };
  // Reads the parts of [begin, end) neither unreadable nor skipped, each as one uncached read.
  void ReadGaps(Request& request, std::int64_t begin, std::int64_t end);
  // After a read of [begin, end) failed: its aligned pieces one size smaller, or within one sector the
  // sector itself is recorded as unreadable.
  void Split(Request& request, std::int64_t begin, std::int64_t end);
  // Past the cache: the cache fails whole chunks, so that a failure tells nothing of which sectors are
  // bad. What no read has covered sector by sector yet is read so, each sector once; the rest in whole
  // reads around the bad sectors known.
  void ReadSweeping(Request& request, std::int64_t begin, std::int64_t end);
  // Reads [begin, end) in its aligned pieces of size bytes.
  void ReadPieces(Request& request, std::int64_t begin, std::int64_t end, std::int64_t size);
  // Adds [begin, end) as far as it lies within the file.
  void AddWithinFile(std::vector<platform::ByteRange>& ranges, std::int64_t begin, std::int64_t end);
  // Whether the bytes lie in a chunk where a read has failed, and must not be read through the cache.
  [[nodiscard]] bool NearFailure(std::int64_t offset, std::int64_t length) const;
  void MarkFailure(std::int64_t offset, std::int64_t length);
  // Takes the lock, answering meanwhile while another thread holds it to read after a failure.
  template <typename Lock>
  void Take(Lock& lock) const;

  const platform::StoreFile& file_;
  const std::int64_t fileLength_;  // -1 when it cannot be told
  const std::atomic<bool>* const stop_;  // null when the reads are never stopped
  const std::function<void()> answer_;  // empty when there is no one to answer
  const std::thread::id owner_ = std::this_thread::get_id();
  // Reads share it; the fallback after a failure holds it alone, so that no read can meet a sector
  // while another finds it unreadable.
  mutable std::shared_timed_mutex mutex_;
  // Changed only under mutex_ held alone, and under this one too, so that a look at them never waits
  // for the reads after a failure.
  mutable std::mutex rangesMutex_;
  std::vector<platform::ByteRange> unreadable_;
  std::vector<platform::ByteRange> notTried_;  // skipped after a stop
  std::atomic<bool> anyUnreadable_{false};
  std::optional<std::int64_t> uncachedSector_;  // asked on the first failure; 0 where refused
  std::vector<platform::ByteRange> swept_;  // read sector by sector past the cache
  // Marked as soon as a read fails, before it is read again, so that no other reader goes through the
  // cache there meanwhile.
  mutable std::mutex failuresMutex_;
  std::vector<platform::ByteRange> failedChunks_;
  std::atomic<bool> anyFailure_{false};
};
