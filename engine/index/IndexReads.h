#pragma once
// The index's objects, read through the run's store reads a piece of the store at a time: the nodes
// of a level and the records are read in ascending order, and on a disk many lie in a few clusters.
#include <cstdint>
#include <span>
#include <vector>

#include "engine/index/IndexDamage.h"
#include "engine/scan/StoreReads.h"

class IndexReads {
 public:
  explicit IndexReads(StoreReads& store) : store_(store) {}

  // The length bytes at offset, valid until the next call; empty, with the damage told, when any of
  // them lies beyond the file's end or in a sector that cannot be read.
  std::span<const std::uint8_t> Fetch(std::int64_t offset, std::int64_t length, IndexDamage& damage);

 private:
  StoreReads& store_;
  std::vector<std::uint8_t> piece_;
  std::int64_t pieceOffset_ = 0;
  std::int64_t pieceHeld_ = 0;  // bytes of the piece that lie within the file
  std::int64_t pieceSize_ = 0;  // what the last miss read, unless the object was longer
  std::int64_t lastObjectEnd_ = -1;
};

// The little-endian int4 at a place the caller knows lies within bytes.
inline std::uint32_t Uint32At(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
