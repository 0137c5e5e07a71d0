#pragma once
// A store held in memory (a memfd) that the engine opens by path like any store file, so that the
// scan is fuzzed through the same reads a real run makes, without touching the disk.
#include <cstdint>
#include <span>
#include <string>

class MemoryStore {
 public:
  MemoryStore();
  ~MemoryStore();
  MemoryStore(const MemoryStore&) = delete;
  MemoryStore& operator=(const MemoryStore&) = delete;

  // The longest store: a few windows, so that no input makes a scan read far over absent bytes.
  static constexpr std::int64_t kMaxLength = 4 * 1024 * 1024;

  // Replaces the store's contents with the bytes placed at offset, zeros before them: a sparse file of
  // at most kMaxLength bytes. Aborts when the system refuses or the store would be longer, since no
  // result would mean anything.
  void Fill(std::span<const std::uint8_t> bytes, std::int64_t offset = 0);
  // A path that opens the store.
  const std::u16string& Path() const { return path_; }

 private:
  int fd_;
  std::u16string path_;
};
