#pragma once
// Byte buffers the writer hands back for the decider to fill again. None is freed by another thread
// than the one that made it: such frees contend for the maker's heap, which costs more than reading the
// message twice. Buffers are kept by their room, in powers of two, so that the few long messages on
// their way leave no room of their size in every buffer.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

class SpareBuffers {
 public:
  // The decider's: an empty buffer with room for at least size bytes, up to the largest room kept.
  std::vector<std::uint8_t> Take(std::size_t size) {
    const std::size_t kind = KindWithRoomFor(size);
    std::vector<std::vector<std::uint8_t>>& taken = taken_[kind];
    if (taken.empty()) {
      const std::lock_guard lock(mutex_);
      taken.swap(given_[kind]);
    }
    if (taken.empty()) {
      std::vector<std::uint8_t> made;
      made.reserve(kSmallestRoom << kind);
      return made;
    }
    std::vector<std::uint8_t> buffer = std::move(taken.back());
    taken.pop_back();
    buffer.clear();
    return buffer;
  }
  // The writer's.
  void Give(std::vector<std::uint8_t> buffer) {
    if (buffer.capacity() < kSmallestRoom) return;
    const std::size_t kind = KindWithin(buffer.capacity());
    const std::lock_guard lock(mutex_);
    given_[kind].push_back(std::move(buffer));
  }

 private:
  static constexpr std::size_t kSmallestRoom = 4096;
  static constexpr std::size_t kKinds = 5;  // up to 64 KiB

  static std::size_t KindWithRoomFor(std::size_t size) {
    const std::size_t rooms = (size + kSmallestRoom - 1) / kSmallestRoom;
    return std::min(rooms <= 1 ? 0 : static_cast<std::size_t>(std::bit_width(rooms - 1)), kKinds - 1);
  }
  // The largest kind whose room a buffer of this capacity (at least the smallest room) has.
  static std::size_t KindWithin(std::size_t capacity) {
    return std::min(static_cast<std::size_t>(std::bit_width(capacity / kSmallestRoom)) - 1, kKinds - 1);
  }

  std::mutex mutex_;
  std::array<std::vector<std::vector<std::uint8_t>>, kKinds> given_;  // under mutex_
  std::array<std::vector<std::vector<std::uint8_t>>, kKinds> taken_;  // the decider's alone
};
