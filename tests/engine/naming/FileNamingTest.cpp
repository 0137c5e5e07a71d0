// File names from subjects: cleaning, names refused on every platform, the name length limit and the
// memory of clash suffixes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/naming/FileNaming.h"
#include "platform/Utf.h"

namespace {

TEST(FileNameText, ReplacesReservedCharactersAndDropsLineBreakPairs) {
  const struct {
    std::u16string subject;
    std::u16string text;
  } cases[] = {
      {u"Re: a/b", u"Re_ a_b"},
      {u"a?*b", u"a__b"},
      {u"\\/:*?\"<>|", u"_________"},
      {std::u16string(u"nul\0here", 8), u"nul_here"},
      {u"\r\n", u"(件名なし)"},
      {u"", u"(件名なし)"},
      {u"one\r\n two", u"one two"},
      {u"lone\rcr\nlf", u"lone\rcr\nlf"},
      {u"\r\r\n\n", u"\r\n"},
      {u"../x", u".._x"},
      {u"..\\..\\x", u".._.._x"},
      {u"C:\\Windows\\x", u"C__Windows_x"},
      {u"/etc/passwd", u"_etc_passwd"},
      {u"会議の日程について", u"会議の日程について"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.subject));
    EXPECT_EQ(FileNameText(c.subject), c.text);
  }
}

TEST(IsRefusedNameText, RefusesControlCharactersLoneSurrogatesAndDeviceNames) {
  const struct {
    std::u16string text;
    bool refused;
  } cases[] = {
      {u"Hello", false},
      {u"a\x01z", true},
      {u"tab\there", true},
      {u"lone\nlf", true},
      {u"\x1F", true},
      {u"space ok", false},
      {u"\x7F", false},
      {u"\U0001F600 pair", false},
      {std::u16string(1, char16_t{0xD83D}) + u"x", true},
      {u"x" + std::u16string(1, char16_t{0xDE00}), true},
      {std::u16string(1, char16_t{0xD83D}), true},
      {u"CON", true},
      {u"con", true},
      {u"Nul", true},
      {u"prn", true},
      {u"AUX", true},
      {u"COM1", true},
      {u"lpt9", true},
      {u"COM0", false},
      {u"COM10", false},
      {u"COM\u00B9", true},
      {u"lpt\u00B2", true},
      {u"Com\u00B3 .txt", true},
      {u"COM\u2074", false},
      // Windows reads a device name before the first dot, trailing spaces dropped: CON.eml.eml is CON.
      {u"CON.eml", true},
      {u"aux .txt", true},
      {u"CONSOLE", false},
      {u"CONSOLE.eml", false},
      {u"x.CON", false},
      {u"ＣＯＮ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.text));
    EXPECT_EQ(IsRefusedNameText(c.text), c.refused);
  }
}

TEST(SuffixedFileName, AddsTheSuffixAndRefusesNamesOver255Utf8Bytes) {
  EXPECT_EQ(SuffixedFileName(u"Hello", 0), u"Hello.eml");
  EXPECT_EQ(SuffixedFileName(u"Hello", 1), u"Hello(1).eml");
  EXPECT_EQ(SuffixedFileName(u"Hello", 12), u"Hello(12).eml");

  const std::u16string ascii251(251, u'a');  // 251 + ".eml" = 255 bytes
  EXPECT_TRUE(SuffixedFileName(ascii251, 0));
  EXPECT_FALSE(SuffixedFileName(ascii251 + u"a", 0));
  EXPECT_FALSE(SuffixedFileName(ascii251, 1));
  EXPECT_TRUE(SuffixedFileName(std::u16string(248, u'a'), 1));
  EXPECT_FALSE(SuffixedFileName(std::u16string(248, u'a'), 10));

  // Three bytes per kana: 83 of them fit with ".eml" (253 bytes), 84 do not (256).
  EXPECT_TRUE(SuffixedFileName(std::u16string(83, u'あ'), 0));
  EXPECT_FALSE(SuffixedFileName(std::u16string(84, u'あ'), 0));
  // A surrogate pair is one four-byte character.
  std::u16string pairs;
  for (int i = 0; i < 62; ++i) pairs += u"\U0001F600";
  EXPECT_TRUE(SuffixedFileName(pairs + u"abc", 0));
  EXPECT_FALSE(SuffixedFileName(pairs + u"abcd", 0));
}

TEST(ClashSuffixes, StartsAfterTheLastSuffixTakenForTheSameTextOnly) {
  ClashSuffixes suffixes;
  EXPECT_EQ(suffixes.FirstCandidate(u"Hello"), 1);
  suffixes.Taken(u"Hello", 1);
  suffixes.Taken(u"Hello", 2);
  EXPECT_EQ(suffixes.FirstCandidate(u"Hello"), 3);
  EXPECT_EQ(suffixes.FirstCandidate(u"hello"), 1);
  EXPECT_EQ(suffixes.FirstCandidate(u"Hello(2)"), 1);
}

}  // namespace
