#include "convert/Decoders.h"

namespace {

// Stands for a sequence cut short by the end of the bytes, or a four-byte one that is no character.
constexpr char16_t kTruncated = u'\x1FFF';

bool IsContinuation(unsigned b) { return (b & 0xC0) == 0x80; }

// A four-byte lead and the continuation bytes after it, at most three, make one sequence.
std::size_t FourByteSequenceLength(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::size_t length = 1;
  while (length < 4 && at + length < bytes.size() && IsContinuation(bytes[at + length])) ++length;
  return length;
}

void AppendSurrogatePair(std::u16string& text, char32_t c) {
  const char32_t offset = c - 0x10000;
  text += static_cast<char16_t>(0xD800 + (offset >> 10));
  text += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
}

}  // namespace

// Shorter sequences keep their old, lenient reading (trail bytes unchecked, overlong forms accepted),
// so that names recovered before stay the same. A four-byte sequence becomes a surrogate pair; one
// that is cut short, overlong or beyond U+10FFFF becomes a single replacement for all its bytes.
std::u16string Utf8ToUnicode(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned b = bytes[i];
    if (b < 0x80) {
      text += static_cast<char16_t>(b);
    } else if ((b & 0xE0) == 0xC0) {
      text += i + 1 < n ? static_cast<char16_t>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F)) : kTruncated;
      i += 1;
    } else if (b >= 0xF0 && b <= 0xF4) {
      const std::size_t length = FourByteSequenceLength(bytes, i);
      const char32_t c = length < 4 ? 0
                                    : static_cast<char32_t>(((b & 0x07) << 18) | ((bytes[i + 1] & 0x3FU) << 12) |
                                                            ((bytes[i + 2] & 0x3FU) << 6) | (bytes[i + 3] & 0x3FU));
      if (c >= 0x10000 && c <= 0x10FFFF) {
        AppendSurrogatePair(text, c);
      } else {
        text += kTruncated;
      }
      i += length - 1;
    } else {
      text += i + 2 < n
                  ? static_cast<char16_t>(((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F))
                  : kTruncated;
      i += 2;
    }
  }
  return text;
}
