#include "convert/Cp932.h"

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

std::u16string Cp932ToUnicode(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i + 1 < bytes.size() && PairsWith(bytes[i], bytes[i + 1])) {
      text += DoubleByteChar(bytes[i], bytes[i + 1]);
      ++i;
    } else {
      text += cp932::kSingleByteChars[bytes[i]];
    }
  }
  return text;
}

char16_t Cp932CodeToChar(std::uint8_t single) { return cp932::kSingleByteChars[single]; }

char16_t Cp932CodeToChar(std::uint8_t lead, std::uint8_t trail) {
  return PairsWith(lead, trail) ? DoubleByteChar(lead, trail) : cp932::kSingleByteChars[lead];
}
