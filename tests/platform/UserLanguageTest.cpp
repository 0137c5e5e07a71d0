#include "platform/UserLanguage.h"

#include <gtest/gtest.h>

namespace {

struct LocaleCase {
  const char* lcAll;
  const char* lcMessages;
  const char* lang;
  bool japanese;
};

TEST(IsJapaneseMessageLocale, TheFirstVariableSetAndNotEmptyDecides) {
  const LocaleCase cases[] = {
      {"", "", "", false},  // nothing set at all
      {"", "", "ja_JP.UTF-8", true},
      {"", "", "ja", true},
      {"", "", "ja_JP.eucJP", true},
      {"", "", "C", false},
      {"", "", "POSIX", false},
      {"", "", "C.UTF-8", false},
      {"", "", "en_US.UTF-8", false},
      {"", "ja_JP.UTF-8", "en_US.UTF-8", true},
      {"", "en_US.UTF-8", "ja_JP.UTF-8", false},
      {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", false},
      {"ja_JP.UTF-8", "C", "C", true},
      {"de_DE.UTF-8", "", "ja_JP.UTF-8", false},
      {"", "", "JA_JP.UTF-8", false},  // locale names are case-sensitive
      {"", "", "jv_ID", false},
  };
  for (const LocaleCase& c : cases) {
    EXPECT_EQ(platform::IsJapaneseMessageLocale(c.lcAll, c.lcMessages, c.lang), c.japanese)
        << "LC_ALL=" << c.lcAll << " LC_MESSAGES=" << c.lcMessages << " LANG=" << c.lang;
  }
}

}  // namespace
