#include "convert/Cp932.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Hex.h"

namespace {

using testsupport::Hex;

std::u16string WindowsDecodes(const std::vector<std::uint8_t>& bytes) {
  const auto* source = reinterpret_cast<const char*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  std::wstring text(bytes.size(), L'\0');
  const int written = MultiByteToWideChar(932, 0, source, length, text.data(), length);
  text.resize(static_cast<std::size_t>(written));
  return {text.begin(), text.end()};
}

bool IsLeadByte(unsigned byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

TEST(Cp932AgainstWindows, EverySingleByte) {
  for (unsigned b = 0; b < 256; ++b) {
    const std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(b)};
    const auto windows = WindowsDecodes(bytes);
    EXPECT_EQ(Cp932ToUnicode(bytes), windows) << Hex(bytes);
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(Cp932CodeToChar(bytes[0]), windows[0]) << Hex(bytes);
  }
}

TEST(Cp932AgainstWindows, EveryLeadAndTrailByte) {
  for (unsigned lead = 0; lead < 256; ++lead) {
    if (!IsLeadByte(lead)) continue;
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
      const auto windows = WindowsDecodes(bytes);
      EXPECT_EQ(Cp932ToUnicode(bytes), windows) << Hex(bytes);
      ASSERT_FALSE(windows.empty());
      EXPECT_EQ(Cp932CodeToChar(bytes[0], bytes[1]), windows[0]) << Hex(bytes);
    }
  }
}

TEST(Cp932AgainstWindows, InvalidPairsInsideText) {
  const std::vector<std::uint8_t> texts[] = {
      {0x82, 0x20, 0x41, 0x82},
      {0x82, 0x00, 0x82, 0xA0},
      {0x41, 0x85, 0x40, 0x42, 0xFC, 0xFC, 0x43},
      {0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0x82, 0xFF, 0x81},
  };
  for (const auto& bytes : texts) {
    EXPECT_EQ(Cp932ToUnicode(bytes), WindowsDecodes(bytes)) << Hex(bytes);
  }
}

}  // namespace
