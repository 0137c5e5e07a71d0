// Both tables of texts, the engine's and the command line's: no text is missing in either language.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cli/CliTexts.h"
#include "engine/Texts.h"
#include "platform/Utf.h"

namespace {

// The argument marks "%1".."%9" of a text, sorted, each as often as it appears.
std::vector<char16_t> Placeholders(std::u16string_view text) {
  std::vector<char16_t> marks;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'%' && text[i + 1] >= u'1' && text[i + 1] <= u'9') marks.push_back(text[i + 1]);
  }
  std::sort(marks.begin(), marks.end());
  return marks;
}

template <typename Entry>
void ExpectComplete(std::span<const Entry> table, const char* name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Entry& entry = table[i];
    const std::string shown = std::string(name) + " " + std::to_string(i) + " " + platform::ToUtf8(entry.english);
    EXPECT_EQ(static_cast<std::size_t>(entry.id), i) << shown << ": the table is out of order";
    EXPECT_FALSE(entry.japanese.empty()) << shown;
    EXPECT_FALSE(entry.english.empty()) << shown;
    EXPECT_EQ(Placeholders(entry.japanese), Placeholders(entry.english)) << shown;
  }
}

TEST(TextTables, EveryEntryHasBothLanguagesWithTheSameArguments) {
  ExpectComplete(AllTexts(), "engine");
  ExpectComplete(cli::AllCliTexts(), "cli");
  EXPECT_EQ(AllTexts().size(), static_cast<std::size_t>(TextId::ResultsHint) + 1);
  EXPECT_EQ(cli::AllCliTexts().size(), static_cast<std::size_t>(cli::CliTextId::ListColumns) + 1);
}

TEST(CliText, FillsTheArgumentsInTheLanguage) {
  EXPECT_EQ(cli::CliText(cli::CliTextId::Reason, Language::English, {u"Permission denied"}), u"Reason: Permission denied");
  EXPECT_EQ(cli::CliText(cli::CliTextId::Reason, Language::Japanese, {u"Permission denied"}), u"理由: Permission denied");
  EXPECT_EQ(cli::CliTextUtf8(cli::CliTextId::UnknownOption, Language::Japanese, {u"-x"}), "不明なオプションです: -x");
}

}  // namespace
