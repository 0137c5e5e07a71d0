#include "convert/Decoders.h"

namespace {

std::uint32_t Base64Value(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return 0;
}

// Three quarters of the length, halves rounded to the even neighbour, less the padding.
std::size_t DecodedLength(std::u16string_view text) {
  const std::size_t quarters = text.size() * 3;
  std::size_t length = quarters / 4;
  const std::size_t remainder = quarters % 4;
  if (remainder > 2 || (remainder == 2 && length % 2 == 1)) ++length;
  const std::size_t padding = text.ends_with(u"==") ? 2 : text.ends_with(u"=") ? 1 : 0;
  return length > padding ? length - padding : 0;
}

}  // namespace

// Every character takes its place in a group of four, so a stray character shifts nothing after it;
// characters outside the alphabet count as zero.
std::vector<std::uint8_t> DecodeBase64(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t accumulator = 0;
  for (std::size_t position = 1; position <= text.size(); ++position) {
    accumulator += Base64Value(text[position - 1]);
    if (position % 4 == 0) {
      bytes.push_back(static_cast<std::uint8_t>(accumulator >> 16));
      bytes.push_back(static_cast<std::uint8_t>(accumulator >> 8));
      bytes.push_back(static_cast<std::uint8_t>(accumulator));
      accumulator = 0;
    } else {
      accumulator *= 64;
    }
  }
  bytes.resize(DecodedLength(text), 0);
  return bytes;
}
