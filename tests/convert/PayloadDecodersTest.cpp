#include "convert/Decoders.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
  std::u16string text;
  Bytes bytes;
};

TEST(DecodeBase64, RoundsLengthAndKeepsEveryCharacterInItsGroup) {
  const Case cases[] = {
      {u"", {}},
      {u"QQ==", {0x41}},
      {u"QUI=", {0x41, 0x42}},
      {u"QUJD", {0x41, 0x42, 0x43}},
      {u"QUJDREVGRw==", {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}},
      {u"QUJDRE", {0x41, 0x42, 0x43, 0x00}},
      {u"QQ", {0x00, 0x00}},
      {u"QUJ", {0x00, 0x00}},
      {u"=", {}},
      {u"==", {}},
      {u"QUJD\r\nREVG", {0x41, 0x42, 0x43, 0x00, 0x04, 0x44, 0x00, 0x00}},
      {u"Q-JD", {0x40, 0x02, 0x43}},
      {u"Q_JD", {0x40, 0x02, 0x43}},
      {u"+/+/", {0xFB, 0xFF, 0xBF}},
      {u"GyRCJCIbKEI=", {0x1B, 0x24, 0x42, 0x24, 0x22, 0x1B, 0x28, 0x42}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeBase64(c.text), c.bytes) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(DecodeQuotedPrintable, DecodesEscapesSoftBreaksAndShortEscapes) {
  const Case cases[] = {
      {u"", {}},
      {u"=41=42", {0x41, 0x42}},
      {u"=4a=ff", {0x4A, 0xFF}},
      {u"=\r\nab", {0x61, 0x62}},
      {u"a_b", {0x61, 0x5F, 0x62}},
      {u"ab=4", {0x61, 0x62, 0x3D, 0x34}},
      {u"a=", {0x61, 0x3D}},
      {u"=4Gx", {0x04, 0x78}},
      {u"=G4x", {0x00, 0x78}},
      {u"= A", {0x0A}},
      {u"=\nA", {0x0A}},
      {u"=A\t", {0x0A}},
      {u"=\r4", {0x00}},
      {u"=\n\r", {0x00}},
      {u"a b\u3042", {0x61, 0x20, 0x62, 0x42}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeQuotedPrintable(c.text), c.bytes) << std::string(c.text.begin(), c.text.end());
  }
}

}  // namespace
