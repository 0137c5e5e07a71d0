#pragma once
// One indexed info record, a message's or a folder's: a 12-byte head, k index entries of 4 bytes and
// the data area. An entry's low 7 bits name its field; with bit 7 set its upper 3 bytes are the value
// itself, otherwise the offset of the value within the data area. Any integer field may come in
// either form, so every one is read in both.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/index/IndexReads.h"

class IndexedInfo {
 public:
  // The record at offset, as a view valid until the next fetch; nullopt, with the damage told, when
  // it is not whole.
  static std::optional<IndexedInfo> Read(IndexReads& reads, std::int64_t offset, IndexDamage& damage);

  // Whether the record has the field.
  [[nodiscard]] bool Has(std::uint8_t field) const { return Entry(field).has_value(); }
  // An integer (width 4) or a time (width 8): from its entry, or the width bytes at its place in the
  // data area; 0 when absent. A value that would run past the record tells CountOutside.
  std::uint64_t Number(std::uint8_t field, std::size_t width, IndexDamage& damage) const;
  // A zero-terminated text in the system code page, decoded as subjects are for names; empty when absent.
  [[nodiscard]] std::u16string Text(std::uint8_t field) const;

 private:
  IndexedInfo(std::span<const std::uint8_t> entries, std::span<const std::uint8_t> data)
      : entries_(entries), data_(data) {}
  [[nodiscard]] std::optional<std::uint32_t> Entry(std::uint8_t field) const;

  std::span<const std::uint8_t> entries_;
  std::span<const std::uint8_t> data_;
};
