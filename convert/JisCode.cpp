#include "convert/JisCode.h"

#include "convert/Cp932.h"
#include "convert/Cp932Table.h"

char16_t JisCodeToChar(int j1, int j2) {
  const int s1 = (j1 - 0x21) / 2 + (j1 <= 0x5E ? 0x81 : 0xC1);
  const int s2 = j1 % 2 != 0 ? j2 + (j2 <= 0x5F ? 0x1F : 0x20) : j2 + 0x7E;
  if (s1 < 0 || s1 > 0xFF || s2 < 0 || s2 > 0xFF) return cp932::kDefaultChar;
  return Cp932CodeToChar(static_cast<std::uint8_t>(s1), static_cast<std::uint8_t>(s2));
}
