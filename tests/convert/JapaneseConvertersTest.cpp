#include "convert/Decoders.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/Hex.h"

namespace {

using testsupport::Hex;
using Bytes = std::vector<std::uint8_t>;

// Builds bytes from a string literal, which may hold NUL bytes.
Bytes B(std::string_view text) { return {text.begin(), text.end()}; }

struct Case {
  Bytes bytes;
  std::u16string text;
};

constexpr char16_t kMeetingTomorrow[] = u"会議の件：明日１０時";

TEST(JisBytesToUnicode, FollowsEscapesAndShifts) {
  const Case cases[] = {
      {B(""), u""},
      {B("\x1B$B2q5D$N7o!'L@F|#1#0;~\x1B(B"), kMeetingTomorrow},
      {B("\x1B$B$\"\x1B(B"), u"あ"},
      {B("\x1B$@$\"\x1B(JA"), u"あA"},
      {B("\x1B$B_!"), u"漾"},
      {B("\x1B(I1\x1B(B"), u"\uFF71"},
      {B("\x0E" "1\x0F"), u"\uFF71"},
      {B("\x0E" "1\x1B$B$\"\x0F" "A"), u"\uFF71あA"},
      {B("\x1B$B$\"\x0E" "1"), u"あ\uFF71"},
      {B("\x1B$(Dabc"), u"$(Dabc"},
      {B("a\x1B" "b"), u"a\x1B" u"b"},
      {B("Re: plain\r\n"), u"Re: plain\r\n"},
      {B("\x82\xA0" "A"), u"あA"},
      {B("\x1B$B$\"\x1B(B\x82\xA0"), u"ああ"},
      {B("\xF0@\xA1"), u"\u00F0@\u00A1"},
      {B("\x1B$B$"), u"\u30FB"},
      {B("\x1B$B\"\x90"), u"\u30FB"},
      {B("\x1B$B-!"), u"\u2460"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JisBytesToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(JisBytesToUnicode, FailsOnAShiftJisLeadByteAtTheEndInAsciiMode) {
  for (const auto& bytes : {B("\x82"), B("abc\x9F"), B("\x1B$B$\"\x1B(B\xE0"), B("\x1B(I1\x0F\xEF")}) {
    EXPECT_EQ(JisBytesToUnicode(bytes), std::nullopt) << Hex(bytes);
  }
  EXPECT_EQ(JisBytesToUnicode(B("abc\xF0")), u"abc\u00F0");
  EXPECT_EQ(JisBytesToUnicode(B("\x0E\x82")), u"\u30FB");
}

TEST(JisTextToUnicode, TakesTheLowByteOfEachCharacter) {
  EXPECT_EQ(JisTextToUnicode(u"\x1B$B2q5D$N7o!'L@F|#1#0;~\x1B(B"), kMeetingTomorrow);
  EXPECT_EQ(JisTextToUnicode(u"\u011B$B$\"\u011B(B\u0141"), u"あA");
  EXPECT_EQ(JisTextToUnicode(u"\u0182\u01A0"), u"あ");
  EXPECT_EQ(JisTextToUnicode(u""), u"");
  EXPECT_EQ(JisTextToUnicode(u"x\u3082"), std::nullopt);
}

TEST(SjisToUnicode, DecodesCodePage932) {
  const Case cases[] = {
      {B(""), u""},
      {B("\x89\xEF\x8B\x63\x82\xCC\x8C\x8F\x81\x46\x96\xBE\x93\xFA\x82\x50\x82\x4F\x8E\x9E"), kMeetingTomorrow},
      {B("\x87@\xEE\xE0\xB1"), u"①髙\uFF71"},
      {B("A\x82"), u"A\u30FB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SjisToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(EucToUnicode, MapsTwoByteCodesThroughShiftJis) {
  const Case cases[] = {
      {B(""), u""},
      {B("\xB2\xF1\xB5\xC4\xA4\xCE\xB7\xEF\xA1\xA7\xCC\xC0\xC6\xFC\xA3\xB1\xA3\xB0\xBB\xFE"), kMeetingTomorrow},
      {B("\xA4\xA2" "A"), u"あA"},
      {B("\xA1\xA2\xF4\xA6\xAD\xA1"), u"、熙\u2460"},
      {B("\x80\x7F"), u"\u0080\u007F"},
      {B("A\xA4"), u"A\u30FB"},
      {B("\xA4" "A"), u"\u30FB"},
      {B("\x8E\xB1"), u"x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EucToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(Utf8ToUnicode, DecodesShortSequencesLeniently) {
  const Case cases[] = {
      {B(""), u""},
      {B("\xE4\xBC\x9A\xE8\xAD\xB0\xE3\x81\xAE\xE4\xBB\xB6\xEF\xBC\x9A\xE6\x98\x8E\xE6\x97\xA5\xEF\xBC\x91\xEF\xBC"
         "\x90\xE6\x99\x82"),
       kMeetingTomorrow},
      {B("\xE3\x81\x82"), u"あ"},
      {B("\xC3\xA9" "A"), u"\u00E9" u"A"},
      {B("\xE3\x81"), u"\x1FFF"},
      {B("A\xC3"), u"A\x1FFF"},
      {B("\xC0\xAF"), u"/"},
      {B("\x80" "AB"), u"\u0042"},
      {B("\xC3" "A"), u"\u00C1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

TEST(Utf8ToUnicode, DecodesFourByteSequencesToSurrogatePairs) {
  const Case cases[] = {
      {B("\xF0\x9F\x98\x80"), u"\U0001F600"},
      {B("\xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x93\xB7"), u"写真 \U0001F4F7"},
      {B("\xF0\xA0\xAE\xB7\xE9\x87\x8E"), u"\U00020BB7野"},
      {B("\xF0\x90\x80\x80"), u"\U00010000"},
      {B("\xF4\x8F\xBF\xBF" "A"), u"\U0010FFFF" u"A"},
      {B("\xF0\x9F\x98"), u"\x1FFF"},
      {B("A\xF0"), u"A\x1FFF"},
      {B("\xF0\x9F" "AB"), u"\x1FFF" u"AB"},
      {B("\xF0\x8F\xBF\xBF" "A"), u"\x1FFF" u"A"},
      {B("\xF4\x90\x80\x80" "A"), u"\x1FFF" u"A"},
      {B("\xF0\x9F\x98\x80\x80\x80"), u"\U0001F600\x1FFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUnicode(c.bytes), c.text) << Hex(c.bytes);
  }
}

}  // namespace
