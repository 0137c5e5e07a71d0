#pragma once
// The text of a freed message rebuilt from its blocks' data areas. Freeing overwrote the first 4 data
// bytes of every block with the free-list link, and the length of the last block is lost.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr std::size_t kFreedDataBytes = 512;
inline constexpr std::size_t kLostBytes = 4;

using FreedData = std::span<const std::uint8_t, kFreedDataBytes>;

// Bytes of a rebuilt text that stand for lost ones: first and one past the last, 0-based.
struct LostRange {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const LostRange&) const = default;
};

// Index data rather than mail: the first block's data after the lost bytes, up to its last non-NUL
// byte, holds a NUL or a control byte other than TAB, CR, LF and ESC, or nothing but NULs.
bool IsLookalike(FreedData firstBlock);

// Whether a first block begins a message (its first line after the lost bytes ends a header field's
// name: "????: x", "????ived: from") rather than continuing one whose first blocks were reused.
bool BeginsHeader(FreedData firstBlock);

class FreedText {
 public:
  // Appends a block's 512 data bytes. The lost ones become "????", except within a base64 body of
  // regular lines, where the line length tells which of them were CR and LF; the others become "A".
  void AddBlock(FreedData data);
  // Ends the text after the last block: trailing NULs dropped, and a multipart message ended after the
  // line of its outermost closing delimiter when the last block holds it (older data follows it).
  void Finish();

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  const std::vector<LostRange>& Lost() const { return lost_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::vector<LostRange> lost_;
  std::size_t lastBlockStart_ = 0;
};
