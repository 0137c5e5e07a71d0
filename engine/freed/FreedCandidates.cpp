#include "engine/freed/FreedCandidates.h"

void FreedCandidates::Add(const FreedCandidate& candidate) {
  if (size_ == kMaxCount) return;
  if ((size_ & kChunkMask) == 0) {
    positions_.push_back(std::make_unique_for_overwrite<std::int64_t[]>(kChunkMask + 1));
    words_.push_back(std::make_unique_for_overwrite<Header[]>(kChunkMask + 1));
  }
  positions_[size_ >> kChunkBits][size_ & kChunkMask] = candidate.position;
  words_[size_ >> kChunkBits][size_ & kChunkMask] = Header{candidate.ownOffset, candidate.nextOffset, candidate.link};
  ++size_;
}

FreedCandidate FreedCandidates::operator[](std::size_t index) const {
  const Header& words = Words(index);
  return FreedCandidate{Position(index), words.ownOffset, words.nextOffset, words.link};
}

std::size_t FreedCandidates::IndexAt(std::int64_t position) const {
  std::size_t low = 0;
  std::size_t high = size_;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (Position(middle) < position)
      low = middle + 1;
    else
      high = middle;
  }
  return low < size_ && Position(low) == position ? low : size_;
}
