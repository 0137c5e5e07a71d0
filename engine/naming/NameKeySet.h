#pragma once
// A set of name keys kept compactly: the keys one after the other in one text, found through an
// open-addressed table of their indices. About the key's own length plus 12 bytes a key.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class NameKeySet {
 public:
  static constexpr std::uint32_t kAbsent = UINT32_MAX;

  // The key's index (0, 1, 2… in the order the keys were added), or kAbsent.
  std::uint32_t Find(std::u16string_view key) const;
  // Adds the key unless it is present; its index either way.
  std::uint32_t Insert(std::u16string_view key);
  std::size_t Size() const { return starts_.size(); }

 private:
  std::u16string_view KeyAt(std::uint32_t index) const;
  // The slot that holds the key, or the free slot where it would go.
  std::size_t SlotFor(std::u16string_view key) const;
  void Grow();

  std::u16string keys_;
  std::vector<std::uint32_t> starts_;  // where key i begins in keys_; it ends where key i + 1 begins
  std::vector<std::uint32_t> slots_;   // key index + 1, or 0 for a free slot; the size is a power of two
};
