#include "platform/Utf.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  std::u16string utf16;
  std::string utf8;
};

TEST(Utf, RoundTripsEveryPlane) {
  const Case cases[] = {
      {u"", ""},
      {u"Recover1.eml", "Recover1.eml"},
      {u"メール復元", "\xE3\x83\xA1\xE3\x83\xBC\xE3\x83\xAB\xE5\xBE\xA9\xE5\x85\x83"},
      {u"\u00E9", "\xC3\xA9"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ToUtf8(c.utf16), c.utf8);
    EXPECT_EQ(platform::FromUtf8(c.utf8), c.utf16);
  }
}

TEST(Utf, ReplacesWhatCannotBeEncoded) {
  EXPECT_EQ(platform::ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_EQ(platform::ToUtf8(u"a" + std::u16string(1, u'\xDC00') + u"b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(platform::FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(platform::FromUtf8("\xC0\xAF"), u"\uFFFD");       // overlong
  EXPECT_EQ(platform::FromUtf8("\xED\xA0\x80"), u"\uFFFD");   // encoded surrogate
  EXPECT_EQ(platform::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
}

TEST(PathBytes, CarryEveryByteThroughTextAndBack) {
  const Case cases[] = {
      {u"/home/利用者/受信トレイ.dbx", "/home/\xE5\x88\xA9\xE7\x94\xA8\xE8\x80\x85/"
                                   "\xE5\x8F\x97\xE4\xBF\xA1\xE3\x83\x88\xE3\x83\xAC\xE3\x82\xA4.dbx"},
      {u"\U0001F4F7", "\xF0\x9F\x93\xB7"},
      // Shift_JIS 受信: the lead F3 would begin a four-byte sequence, but 4D cannot continue it.
      {u"\xDC8E\xDCF3\xDC90M.dbx", "\x8E\xF3\x90M.dbx"},
      {u"a\xDCE3\xDC83", "a\xE3\x83"},                  // cut short
      {u"\xDCC0\xDCAF", "\xC0\xAF"},                    // overlong
      {u"\xDCED\xDCA0\xDC80", "\xED\xA0\x80"},         // an encoded surrogate
      {u"\xDCED\xDCB2\xDC80", "\xED\xB2\x80"},         // the encoded form of an escape itself
      {u"\xDCFF\xDCFE", "\xFF\xFE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::FromPathBytes(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(platform::ToPathBytes(c.utf16), c.utf8) << c.utf8;
  }
}

TEST(PathBytes, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(platform::ToPathBytes(platform::FromPathBytes(all)), all);
}

TEST(PathBytes, OnlyEscapesBecomeBytesAndTheyShowAsReplacements) {
  // Other lone surrogates cannot come from a path; they are written as U+FFFD like any text.
  EXPECT_EQ(platform::ToPathBytes(u"\xDC7F\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(platform::ToUtf8(platform::FromPathBytes("\x8E\xF3.dbx")), "\xEF\xBF\xBD\xEF\xBF\xBD.dbx");
}

}  // namespace
