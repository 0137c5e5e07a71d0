#include "windowtexts/WindowTexts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/Utf.h"

namespace {

std::set<std::u16string_view> Placeholders(std::u16string_view text) {
  std::set<std::u16string_view> found;
  for (std::size_t at = text.find(u'%'); at != std::u16string_view::npos && at + 1 < text.size(); at = text.find(u'%', at + 1)) {
    if (text[at + 1] >= u'1' && text[at + 1] <= u'9') found.insert(text.substr(at, 2));
  }
  return found;
}

TEST(WindowTexts, EveryEntryHasBothLanguagesWithTheSamePlaceholders) {
  for (const WindowTextEntry& entry : AllWindowTexts()) {
    if (entry.id == WindowText::None) continue;
    const std::string name = platform::ToUtf8(std::u16string(entry.japanese));
    EXPECT_FALSE(entry.japanese.empty()) << static_cast<int>(entry.id);
    EXPECT_FALSE(entry.english.empty()) << name;
    EXPECT_EQ(Placeholders(entry.japanese), Placeholders(entry.english)) << name;
  }
}

TEST(WindowTexts, AccessKeysAreUniqueInEachPlaceAndLanguage) {
  for (const Language language : {Language::Japanese, Language::English}) {
    std::map<std::pair<TextPlace, char16_t>, int> uses;
    for (const WindowTextEntry& entry : AllWindowTexts()) {
      const std::u16string text = Text(entry.id, language);
      const char16_t key = AccessKey(text);
      EXPECT_EQ(key != 0, AccessKey(entry.japanese) != 0 && AccessKey(entry.english) != 0) << platform::ToUtf8(text);
      if (key != 0) ++uses[{entry.place, key}];
    }
    for (const auto& [placeAndKey, count] : uses) {
      EXPECT_EQ(count, 1) << "key " << static_cast<char>(placeAndKey.second) << " in place "
                          << static_cast<int>(placeAndKey.first) << (language == Language::English ? " (English)" : "");
    }
  }
}

TEST(WindowTexts, AccessKeysAndPlainAmpersands) {
  const struct {
    std::u16string_view caption;
    char16_t key;
  } cases[] = {
      {u"&File", u'F'}, {u"E&xit", u'X'}, {u"受信トレイ(&R)", u'R'}, {u"Tom && Jerry", 0}, {u"a&&&b", u'B'}, {u"end&", 0}, {u"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(AccessKey(c.caption), c.key) << platform::ToUtf8(std::u16string(c.caption));
  EXPECT_EQ(WithPlainAmpersands(u"A&B &x"), u"A&&B &&x");
  EXPECT_EQ(AccessKey(WithPlainAmpersands(u"Tom &Jerry")), 0);
}

// The status bar's design caption is the run's first count, which the engine's table also gives.
TEST(WindowTexts, DesignCountIsTheRunsFirstCount) {
  for (const Language language : {Language::Japanese, Language::English}) {
    EXPECT_EQ(Text(WindowText::ExtractedNone, language), Text(TextId::ExtractedCount, language, {u"0"}));
  }
}

}  // namespace
