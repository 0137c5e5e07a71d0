#pragma once
// The freed-block candidates of a scan, in ascending order of position. Any store can be made to hold
// one every few bytes, so they lie in flat arrays of fixed-size chunks: 20 bytes a candidate, and
// growing never copies them, as a vector's doubling would while holding both copies at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct FreedCandidate {
  std::int64_t position = 0;  // 1-based
  std::uint32_t ownOffset = 0;
  std::uint32_t nextOffset = 0;
  std::uint32_t link = 0;  // the word at +0x10
  bool operator==(const FreedCandidate&) const = default;
};

class FreedCandidates {
 public:
  // The links between candidates are 32-bit indices; a store past this many (tens of GiB made of
  // nothing but headers) keeps the first ones.
  static constexpr std::size_t kMaxCount = 0xFFFF'FFF0;

  // Appends a candidate beyond the last, unless kMaxCount are held.
  void Add(const FreedCandidate& candidate);

  std::size_t Size() const { return size_; }
  FreedCandidate operator[](std::size_t index) const;
  std::int64_t Position(std::size_t index) const { return positions_[index >> kChunkBits][index & kChunkMask]; }
  std::uint32_t OwnOffset(std::size_t index) const { return Words(index).ownOffset; }
  std::uint32_t Link(std::size_t index) const { return Words(index).link; }
  std::uint32_t NextOffset(std::size_t index) const { return Words(index).nextOffset; }
  // Linking the candidates overwrites the NextOffset word with the index of the block each one links
  // to, since nothing reads it afterwards.
  void SetNextOffset(std::size_t index, std::uint32_t value) {
    words_[index >> kChunkBits][index & kChunkMask].nextOffset = value;
  }
  // The index of the candidate at position, or Size() when there is none.
  std::size_t IndexAt(std::int64_t position) const;

 private:
  struct Header {
    std::uint32_t ownOffset;
    std::uint32_t nextOffset;
    std::uint32_t link;
  };
  // 4,096 a chunk: a small store pays 80 KiB for its first candidate, a huge one a pointer per chunk.
  static constexpr int kChunkBits = 12;
  static constexpr std::size_t kChunkMask = (std::size_t{1} << kChunkBits) - 1;

  const Header& Words(std::size_t index) const { return words_[index >> kChunkBits][index & kChunkMask]; }

  std::vector<std::unique_ptr<std::int64_t[]>> positions_;
  std::vector<std::unique_ptr<Header[]>> words_;
  std::size_t size_ = 0;
};
