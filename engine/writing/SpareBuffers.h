#pragma once
// Byte buffers the writer hands back for the decider to fill again. Each keeps its room, and none is
// freed by the other thread than the one that made it: such frees contend for the maker's heap, which
// cost more than reading the message twice.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class SpareBuffers {
 public:
  // size: the room each buffer is made with, enough never to grow, which would leave holes in the heap.
  explicit SpareBuffers(std::size_t size) : size_(size) {}

  // The decider's: an empty buffer with its room.
  std::vector<std::uint8_t> Take() {
    if (taken_.empty()) {
      const std::lock_guard lock(mutex_);
      taken_.swap(given_);
    }
    if (taken_.empty()) {
      std::vector<std::uint8_t> made;
      made.reserve(size_);
      return made;
    }
    std::vector<std::uint8_t> buffer = std::move(taken_.back());
    taken_.pop_back();
    buffer.clear();
    return buffer;
  }
  // The writer's.
  void Give(std::vector<std::uint8_t> buffer) {
    const std::lock_guard lock(mutex_);
    given_.push_back(std::move(buffer));
  }

 private:
  const std::size_t size_;
  std::mutex mutex_;
  std::vector<std::vector<std::uint8_t>> given_;  // under mutex_
  std::vector<std::vector<std::uint8_t>> taken_;  // the decider's alone
};
