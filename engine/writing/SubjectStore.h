#pragma once
// The decoded subjects of a run's records, kept for its list. They are copied into pieces of text that
// never move, rather than each kept in a string of its own: the thread that decides names makes them,
// and a string per message freed by another thread would make that thread, which the others wait for,
// contend for its heap.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class SubjectStore {
 public:
  explicit SubjectStore(std::size_t records) : subjects_(records) {}

  // One thread at a time. Another may read the subjects put before, once told of them through a lock
  // or an atomic.
  void Put(std::size_t record, std::u16string_view subject) {
    if (subject.size() > kPieceLength - used_) {
      pieces_.push_back(std::make_unique_for_overwrite<char16_t[]>(std::max(kPieceLength, subject.size())));
      used_ = 0;
    }
    char16_t* const at = pieces_.back().get() + used_;
    std::copy(subject.begin(), subject.end(), at);
    used_ += subject.size();
    subjects_[record] = {at, subject.size()};
  }
  // Empty for a record given none.
  std::u16string_view Get(std::size_t record) const { return subjects_[record]; }

 private:
  static constexpr std::size_t kPieceLength = 32 * 1024;

  std::vector<std::unique_ptr<char16_t[]>> pieces_;
  std::size_t used_ = kPieceLength;  // of the last piece
  std::vector<std::u16string_view> subjects_;
};
