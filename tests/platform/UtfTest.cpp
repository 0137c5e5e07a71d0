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

}  // namespace
