#include "convert/Decoders.h"

namespace {

std::optional<std::uint8_t> HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return static_cast<std::uint8_t>(c - u'0');
  if (c >= u'A' && c <= u'F') return static_cast<std::uint8_t>(c - u'A' + 10);
  if (c >= u'a' && c <= u'f') return static_cast<std::uint8_t>(c - u'a' + 10);
  return std::nullopt;
}

// Reads hexadecimal digits up to the first other character; blanks and line feeds are passed over.
std::uint8_t EscapedByte(std::u16string_view digits) {
  std::uint8_t value = 0;
  for (const char16_t c : digits) {
    if (c == u' ' || c == u'\t' || c == u'\n') continue;
    const auto digit = HexDigit(c);
    if (!digit) break;
    value = static_cast<std::uint8_t>(value * 16 + *digit);
  }
  return value;
}

}  // namespace

std::vector<std::uint8_t> DecodeQuotedPrintable(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'=' && i + 2 < text.size()) {
      const auto escaped = text.substr(i + 1, 2);
      if (escaped != u"\r\n") bytes.push_back(EscapedByte(escaped));
      i += 3;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(text[i]));
      ++i;
    }
  }
  return bytes;
}
