#pragma once
// Bytes as upper-case hexadecimal digits, two a byte, for failure messages.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const std::uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0x0F];
  }
  return hex;
}

}  // namespace testsupport
