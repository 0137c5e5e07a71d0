#include "convert/Cp932.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/Hex.h"

namespace {

using testsupport::Hex;

struct Case {
  std::vector<std::uint8_t> bytes;
  std::u16string text;
};

TEST(Cp932, DecodesEveryPartOfTheCodePage) {
  const Case cases[] = {
      {{}, u""},
      {{0x41, 0x5C, 0x7E, 0x0D, 0x0A}, u"A\\~\r\n"},
      {{0xA1, 0xB1, 0xDF}, u"\uFF61\uFF71\uFF9F"},
      {{0x82, 0xA0, 0x83, 0x41}, u"あア"},
      {{0x88, 0x9F, 0x98, 0x9F, 0xEA, 0xA4}, u"亜弌熙"},
      {{0x81, 0x5F, 0x81, 0x60, 0x81, 0x61, 0x81, 0x7C}, u"\uFF3C\uFF5E\u2225\uFF0D"},
      {{0x81, 0x91, 0x81, 0x92, 0x81, 0xCA, 0x81, 0x8F, 0x81, 0x90}, u"\uFFE0\uFFE1\uFFE2\uFFE5\uFF04"},
      {{0x87, 0x40, 0x87, 0x54, 0x87, 0x90, 0x87, 0x9C}, u"\u2460\u2160\u2252\u222A"},
      {{0xED, 0x40, 0xEE, 0xEF, 0xEE, 0xFC}, u"\u7E8A\u2170\uFF02"},
      {{0xFA, 0x40, 0xFA, 0x54, 0xFA, 0x5B, 0xFC, 0x4B}, u"\u2170\uFFE2\u2235\u9ED1"},
      {{0xF0, 0x40, 0xF0, 0x7E, 0xF0, 0x80, 0xF9, 0xFC}, u"\uE000\uE03E\uE03F\uE757"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp932ToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(Cp932, DecodesInvalidInputAsWindowsDoes) {
  const Case cases[] = {
      {{0x82}, u"\u30FB"},
      {{0x41, 0xFC}, u"A\u30FB"},
      {{0x82, 0x20, 0x41}, u"\u30FB" u"A"},
      {{0x82, 0x7F, 0x41}, u"\u30FB" u"A"},
      {{0x82, 0xFD, 0x41}, u"\u30FB" u"A"},
      {{0x85, 0x40, 0x41}, u"\u30FB" u"A"},
      {{0xEB, 0x9F}, u"\u30FB"},
      {{0xFC, 0x4C}, u"\u30FB"},
      {{0x82, 0x00, 0x41}, std::u16string(u"\u30FB") + u'\0' + u"A"},
      {{0x80, 0xA0, 0xFD, 0xFE, 0xFF}, u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp932ToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(Cp932, OneCodeGivesTheFirstCharacterOfItsText) {
  const struct {
    std::uint8_t lead;
    std::uint8_t trail;
    char16_t expected;
  } pairs[] = {
      {0x82, 0xA0, u'あ'}, {0x82, 0x20, u'\u30FB'}, {0x82, 0x00, u'\u30FB'},
      {0x41, 0x42, u'A'},  {0xB1, 0x82, u'\uFF71'}, {0xA0, 0x41, u'\uF8F0'},
  };
  for (const auto& p : pairs) {
    EXPECT_EQ(Cp932CodeToChar(p.lead, p.trail), p.expected) << Hex({p.lead, p.trail});
  }
  EXPECT_EQ(Cp932CodeToChar(0x82), u'\u30FB');
  EXPECT_EQ(Cp932CodeToChar(0xB1), u'\uFF71');
  EXPECT_EQ(Cp932CodeToChar(0xFF), u'\uF8F3');
}

TEST(Cp932, UserDefinedAreaRunsContinuously) {
  char16_t expected = u'\uE000';
  for (std::uint8_t lead = 0xF0; lead <= 0xF9; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      ASSERT_EQ(Cp932CodeToChar(lead, static_cast<std::uint8_t>(trail)), expected)
          << Hex({lead, static_cast<std::uint8_t>(trail)});
      ++expected;
    }
  }
  EXPECT_EQ(expected, u'\uE758');
}

}  // namespace

namespace {

// Stopping at a mark gives the whole text's characters up to the mark's first place in that text,
// also where a lead byte takes the mark's first byte as its trail byte.
TEST(Cp932, DecodingThroughAMarkStopsWhereTheWholeTextFirstReadsIt) {
  const std::u16string_view mark = u"\r\n\r\n";
  const std::vector<std::uint8_t> cases[] = {
      {},
      {'A', 'b'},
      {'S', ':', ' ', 'x', 0x0D, 0x0A, 0x0D, 0x0A, 'b', 'o', 'd', 'y', 0x0D, 0x0A, 0x0D, 0x0A},
      {0x82, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 'z'},
      {0x82, 0xA0, 0x0D, 0x0A, 0x0D, 0x0A},
      {0x0D, 0x0A, 0x0D, 0x0A},
      {0x0D, 0x0A, 0x0D, 0x81, 0x0A, 0x0D, 0x0A},
      {0x0D, 0x0A, 0x0D},
  };
  for (const auto& bytes : cases) {
    const std::u16string whole = Cp932ToUnicode(bytes);
    const auto at = whole.find(mark);
    const std::u16string expected = at == std::u16string::npos ? whole : whole.substr(0, at + mark.size());
    EXPECT_EQ(Cp932ToUnicodeThrough(bytes, mark), expected) << Hex(bytes);
  }
}

}  // namespace
