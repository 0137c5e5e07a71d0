#pragma once
// The buffers the scan reads a store into, kept from one store to the next, so that a batch of stores
// or a fuzzer's inputs pay for their memory once rather than once a store.
#include <cstddef>
#include <cstdint>
#include <memory>

// Bytes of undefined contents, allocated again only when more are asked for than it holds.
class ReusedBuffer {
 public:
  std::uint8_t* Get(std::size_t bytes) {
    if (bytes > size_) {
      bytes_.reset();  // before the larger one, so that both are never held at once
      bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
      size_ = bytes;
    }
    return bytes_.get();
  }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
};

// One scan's at a time: the window searched, the one read ahead, and the lines (see StoreLines).
struct ScanBuffers {
  ReusedBuffer window;
  ReusedBuffer ahead;
  ReusedBuffer lines;
};
