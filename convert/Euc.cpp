#include "convert/Cp932Table.h"
#include "convert/Decoders.h"
#include "convert/JisCode.h"

// Every byte from 0x81 up starts a JIS X 0208 code, the single shifts 0x8E and 0x8F included.
std::u16string EucToUnicode(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t first = bytes[i];
    if (first <= 0x80) {
      text += static_cast<char16_t>(first);
    } else if (i + 1 == bytes.size()) {
      text += cp932::kDefaultChar;
    } else {
      text += JisCodeToChar(first - 0x80, bytes[i + 1] - 0x80);
      ++i;
    }
  }
  return text;
}
