#include "convert/Cp932.h"

#include <algorithm>

#include "convert/Cp932Table.h"

namespace {

char16_t DoubleByteChar(std::uint8_t lead, std::uint8_t trail) {
  const std::uint8_t row = cp932::kRowOfLeadByte[lead];
  if (row == 0 || trail < cp932::kFirstTrailByte || trail > cp932::kLastTrailByte) {
    return cp932::kDefaultChar;
  }
  const char16_t c = cp932::kTrailRows[row - 1][trail - cp932::kFirstTrailByte];
  return c != 0 ? c : cp932::kDefaultChar;
}

// Windows takes a lead byte and the next byte as one code, whatever that byte is, except NUL: a lead
// byte before NUL stands alone and the NUL stays a character.
bool PairsWith(std::uint8_t lead, std::uint8_t next) { return cp932::IsLeadByte(lead) && next != 0; }

}  // namespace

std::u16string Cp932ToUnicode(std::span<const std::uint8_t> bytes) { return Cp932ToUnicodeThrough(bytes, {}); }

std::u16string Cp932ToUnicodeThrough(std::span<const std::uint8_t> bytes, std::u16string_view mark) {
  // Written through a pointer: appending character by character costs more than the decoding. The
  // buffer grows as needed, as a header part is mostly far shorter than the bytes given.
  std::u16string text(std::min<std::size_t>(bytes.size(), 1024), u'\0');
  char16_t* out = text.data();
  std::size_t count = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (count == text.size()) {
      text.resize(std::min(bytes.size(), text.size() * 2));
      out = text.data();
    }
    char16_t c = 0;
    if (i + 1 < bytes.size() && PairsWith(bytes[i], bytes[i + 1])) {
      c = DoubleByteChar(bytes[i], bytes[i + 1]);
      ++i;
    } else {
      c = cp932::kSingleByteChars[bytes[i]];
    }
    out[count++] = c;
    if (!mark.empty() && c == mark.back() && count >= mark.size() &&
        std::u16string_view(out + count - mark.size(), mark.size()) == mark)
      break;
  }
  text.resize(count);
  return text;
}

char16_t Cp932CodeToChar(std::uint8_t single) { return cp932::kSingleByteChars[single]; }

char16_t Cp932CodeToChar(std::uint8_t lead, std::uint8_t trail) {
  return PairsWith(lead, trail) ? DoubleByteChar(lead, trail) : cp932::kSingleByteChars[lead];
}
