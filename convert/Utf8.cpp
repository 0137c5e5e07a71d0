#include "convert/modConvert.h"

namespace {

// Stands for a sequence cut short by the end of the bytes.
constexpr char16_t kTruncated = u'\x1FFF';

}  // namespace

// Sequences are at most three bytes long and trail bytes are not checked, so characters beyond
// U+FFFF come out as wrong characters.
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
    } else {
      text += i + 2 < n
                  ? static_cast<char16_t>(((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F))
                  : kTruncated;
      i += 2;
    }
  }
  return text;
}
