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

  // Replaces the store's contents with the bytes placed at offset, zeros before them: a sparse file
  // that may reach beyond 4 GiB. Aborts when the system refuses, since no result would mean anything.
  void Fill(std::span<const std::uint8_t> bytes, std::int64_t offset = 0);
  // A path that opens the store.
  const std::u16string& Path() const { return path_; }

 private:
  int fd_;
  std::u16string path_;
};
