// The run's list file: written in either language, read back in either, and read as far as it can be
// when it was cut or edited.
#include "engine/runlist/RunListFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::vector<RunListRow> kRows{
    {u"受信トレイ/a.eml", RunListState::Listed, true, 0x6AD4, 12345, MailDate{2003, 5, 1, 9, 8, 7}, u"Taro <t@x>", u"会議"},
    {u"受信トレイ/削除済みメール/b.eml", RunListState::Deleted, false, 0x1F000, 2048, std::nullopt, u"花子", u"A\tB\r\nC"},
    {u"c.eml", RunListState::Freed, true, 0x10000000, 777, MailDate{1999, 12, 31, 23, 59, 0}, u"", u"(件名なし)"},
    {u"", RunListState::Missing, true, 0xEAD4, 0, MailDate{2004, 1, 2, 3, 4, 5}, u"次郎", u"見積"},
};

using Edit = std::function<std::string(std::string)>;

Edit Replace(std::string from, std::string to) {
  return [=](std::string text) { return text.replace(text.find(from), from.size(), to); };
}

TEST(RunListFile, ReadsBackWhatItWroteAndSkipsWhatItCannotRead) {
  struct Case {
    const char* name;
    Language language;
    Edit edit;
    std::vector<std::size_t> kept;  // of kRows
    std::size_t skipped;
  };
  const Edit asWritten = [](std::string text) { return text; };
  const std::vector<Case> cases{
      {"Japanese", Language::Japanese, asWritten, {0, 1, 2, 3}, 0},
      {"English", Language::English, asWritten, {0, 1, 2, 3}, 0},
      {"no mark, LF ends", Language::English,
       [](std::string text) {
         std::erase(text, '\r');
         return text.substr(3);
       },
       {0, 1, 2, 3}, 0},
      {"no header", Language::Japanese, [](std::string text) { return text.substr(text.find("\r\n") + 2); }, {0, 1, 2, 3}, 0},
      {"cut in the last row", Language::Japanese, [](std::string text) { return text.substr(0, text.size() - 12); }, {0, 1, 2}, 1},
      {"a column more", Language::English, Replace("\t777\t", "\t777\t\t"), {0, 1, 3}, 1},
      {"bad size", Language::Japanese, Replace("\t12345\t", "\t12x45\t"), {1, 2, 3}, 1},
      {"bad offset", Language::Japanese, Replace("0x0000EAD4", "EAD4"), {0, 1, 2}, 1},
      {"unknown state", Language::English, Replace("freed", "gone"), {0, 1, 3}, 1},
      {"not UTF-8", Language::Japanese, Replace("花子", "\xFF\xFE"), {0, 2, 3}, 1},
      {"a found row without its file", Language::Japanese, Replace("c.eml", ""), {0, 1, 3}, 1},
      {"an edited date", Language::Japanese, Replace("2003/05/01 09:08:07", "2003/5/1 9:08:07"), {0, 1, 2, 3}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RunList list = ReadRunList(c.edit(WriteRunList(kRows, c.language)));
    std::vector<RunListRow> kept;
    for (std::size_t i : c.kept) kept.push_back(kRows[i]);
    EXPECT_EQ(WriteRunList(list.rows, Language::Japanese), WriteRunList(kept, Language::Japanese));
    EXPECT_EQ(list.skippedRows, c.skipped);
  }
  EXPECT_EQ(WriteRunList(std::span(kRows).subspan(1, 1), Language::English),
            "\xEF\xBB\xBF" "File\tState\tComplete\tFirst block offset\tBytes\tDate\tFrom\tSubject\r\n"
            "受信トレイ/削除済みメール/b.eml\tdeleted\tcut short\t0x0001F000\t2048\t\t花子\tA B  C\r\n");
}

}  // namespace
