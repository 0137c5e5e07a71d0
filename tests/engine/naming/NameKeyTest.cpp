// Names are compared as the folder compares them; the keys are kept in a compact set.
#include <gtest/gtest.h>

#include <string>

#include "engine/naming/NameKey.h"
#include "engine/naming/NameKeySet.h"

namespace {

TEST(SimpleUpperCase, MapsOneCodeUnitToOne) {
  const struct {
    char16_t from, to;
  } cases[] = {
      {u'a', u'A'}, {u'z', u'Z'}, {u'A', u'A'}, {u'@', u'@'},  {u'[', u'['},  {u'`', u'`'},  {u'{', u'{'},
      {u'é', u'É'}, {u'ÿ', u'Ÿ'}, {u'ā', u'Ā'}, {u'Ā', u'Ā'}, {u'ǆ', u'Ǆ'},  {u'ǅ', u'Ǆ'},  {u'ω', u'Ω'},
      {u'я', u'Я'}, {u'ａ', u'Ａ'}, {u'ｚ', u'Ｚ'}, {u'ß', u'ß'}, {u'あ', u'あ'}, {u'ア', u'ア'}, {u'\xD83D', u'\xD83D'},
      {u'ⓐ', u'Ⓐ'}, {u'\xFFFF', u'\xFFFF'}, {u'\0', u'\0'},
  };
  for (const auto& c : cases) EXPECT_EQ(SimpleUpperCase(c.from), c.to) << static_cast<int>(c.from);
}

TEST(NameKey, IgnoresCaseOnEveryPlatform) {
  EXPECT_EQ(NameKey(u"Re_ 会議.eml"), NameKey(u"RE_ 会議.EML"));
  EXPECT_NE(NameKey(u"a.eml"), NameKey(u"b.eml"));
  EXPECT_EQ(NameKey(u"写真 📷.eml"), NameKey(u"写真 📷.eml"));
}

TEST(NameKeySet, FindsEveryKeyAddedAndNoOther) {
  NameKeySet set;
  EXPECT_EQ(set.Find(u"a"), NameKeySet::kAbsent);
  // Keys that begin one another, so that each key's end is where the next begins.
  EXPECT_EQ(set.Insert(u"ab"), 0u);
  EXPECT_EQ(set.Insert(u"a"), 1u);
  EXPECT_EQ(set.Insert(u"abc"), 2u);
  EXPECT_EQ(set.Insert(u"ab"), 0u);
  for (std::uint32_t i = 0; i < 1000; ++i) set.Insert(u"名前" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + std::u16string(i / 10, u'x'));
  EXPECT_EQ(set.Size(), 1003u);
  EXPECT_EQ(set.Find(u"ab"), 0u);
  EXPECT_EQ(set.Find(u"a"), 1u);
  EXPECT_EQ(set.Find(u"abc"), 2u);
  EXPECT_EQ(set.Find(u"名前7" + std::u16string(99, u'x')), 1000u);
  EXPECT_EQ(set.Find(u"abcd"), NameKeySet::kAbsent);
  EXPECT_EQ(set.Find(u""), NameKeySet::kAbsent);
}

}  // namespace
