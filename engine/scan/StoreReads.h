#pragma once
// Every read of the store in a run goes through one StoreReads, which reads around the sectors that
// cannot be read and keeps the ranges they cover. A healthy store costs one read per request, as
// before; only after a read fails is the range read again in smaller aligned pieces, 4 KiB and then
// 512-byte sectors, and a sector once found unreadable is never read again by anyone.
#include <atomic>
#include <cstdint>
#include <shared_mutex>
#include <span>
#include <vector>

#include "platform/ByteRange.h"
#include "platform/Files.h"

class StoreReads {
 public:
  explicit StoreReads(const platform::StoreFile& file);
  StoreReads(const StoreReads&) = delete;
  StoreReads& operator=(const StoreReads&) = delete;

  // Reads out.size() bytes at the 0-based offset. What the store cannot give, beyond its end or in an
  // unreadable sector, reads as zero. Returns how many of the bytes lie within the file (readable or
  // not); the rest lie beyond its end. Safe to call from several threads at once.
  std::int64_t Read(std::int64_t offset, std::span<std::uint8_t> out);
  // The file's length in bytes, or -1 when it cannot be told.
  [[nodiscard]] std::int64_t FileLength() const { return fileLength_; }
  // Whether none of the length bytes at offset lies in a range found unreadable so far.
  [[nodiscard]] bool Readable(std::int64_t offset, std::int64_t length) const;
  // The ranges found unreadable so far, merged, in ascending order.
  [[nodiscard]] std::vector<platform::ByteRange> Unreadable() const;

 private:
  // One request served piece by piece after a read failed.
  struct Request {
    std::int64_t offset;
    std::span<std::uint8_t> out;
    std::int64_t heldEnd;  // one past the last byte read that the file held
  };
  // Reads the parts of [begin, end) not known to be unreadable, each as one read.
  void ReadGaps(Request& request, std::int64_t begin, std::int64_t end);
  // After a read of [begin, end) failed: its aligned pieces one size smaller, or within one sector the
  // sector itself is recorded as unreadable.
  void Split(Request& request, std::int64_t begin, std::int64_t end);
  void RecordSector(std::int64_t sector);

  const platform::StoreFile& file_;
  const std::int64_t fileLength_;  // -1 when it cannot be told
  // Reads share it; the fallback after a failure holds it alone, so that no read can meet a sector
  // while another finds it unreadable.
  mutable std::shared_mutex mutex_;
  std::vector<platform::ByteRange> unreadable_;
  std::atomic<bool> anyUnreadable_{false};
};
