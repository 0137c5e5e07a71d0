// Names decided in memory are the names today's rename pass gives the working files: each case is
// both planned and renamed for real in a scratch folder, and both must give the expected names.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/naming/FileNaming.h"
#include "engine/naming/NameKey.h"
#include "engine/naming/NamePlan.h"
#include "platform/Paths.h"
#include "tests/support/RenamePassModel.h"
#include "tests/support/ScratchFolder.h"

namespace {

// One subject per record in order; nullopt for a record removed as a tail piece.
using Subjects = std::vector<std::optional<std::u16string>>;
// The final name of each kept record, in order.
using Names = std::vector<std::u16string>;

Names Planned(const Subjects& subjects) {
  std::vector<bool> kept(subjects.size() + 1, false);
  for (std::size_t i = 0; i < subjects.size(); ++i) kept[i + 1] = subjects[i].has_value();
  NamePlan plan(std::move(kept));
  Names names;
  for (std::size_t i = 0; i < subjects.size(); ++i)
    if (subjects[i]) names.push_back(plan.Decide(static_cast<std::int32_t>(i + 1), FileNameText(*subjects[i])));
  return names;
}

// The working files of the kept records written, then renamed by the rename pass.
Names Renamed(const Subjects& subjects) {
  const testsupport::ScratchFolder scratch;
  const std::u16string folder = scratch.Path().u16string();
  std::vector<std::optional<std::u16string>> texts;
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    if (subjects[i]) scratch.WriteFile(WorkingFileName(static_cast<std::int32_t>(i + 1)), "Subject: x\r\n\r\nbody\r\n");
    texts.push_back(subjects[i] ? std::optional(FileNameText(*subjects[i])) : std::nullopt);
  }
  const Names names = testsupport::RenameWorkingFiles(folder, texts);
  std::set<std::u16string> listed;
  std::set<std::u16string> named;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Path()))
    listed.insert(NameKey(entry.path().filename().u16string()));
  for (const auto& name : names) named.insert(NameKey(name));
  // Compared as the folder compares names: Wine keeps the old case when a file is renamed to its own
  // name in another case, where Windows takes the new one.
  EXPECT_EQ(listed, named);
  return names;
}

std::string Shown(const Names& names) {
  std::string text;
  for (const auto& name : names) text += std::filesystem::path(name).string() + " | ";
  return text;
}

void ExpectPlanned(const Subjects& subjects, const Names& expected) {
  const Names planned = Planned(subjects);
  EXPECT_EQ(planned, expected) << Shown(planned);
}

void ExpectNames(const Subjects& subjects, const Names& expected) {
  ExpectPlanned(subjects, expected);
  const Names renamed = Renamed(subjects);
  EXPECT_EQ(renamed, expected) << Shown(renamed);
}

const std::u16string k251(251, u'a');  // with ".eml": 255 bytes
const std::u16string k252(252, u'b');
const std::u16string kLongJapanese(84, u'あ');  // 84 × 3 + 4 = 256 bytes

TEST(NamePlan, GivesTheNamesOfTheRenamePass) {
  const struct {
    Subjects subjects;
    Names names;
  } cases[] = {
      {{u"Hello", u"Hello", u"Hello"}, {u"Hello.eml", u"Hello(1).eml", u"Hello(2).eml"}},
      {{u"A", u"B", u"A", u"B", u"A"}, {u"A.eml", u"B.eml", u"A(1).eml", u"B(1).eml", u"A(2).eml"}},
      {{u"Hello", u"Hello", u"Hello(1)", u"Hello"}, {u"Hello.eml", u"Hello(1).eml", u"Hello(1)(1).eml", u"Hello(2).eml"}},
      {{u"Re: a/b", u"a?*b", u"", u"\r\n"}, {u"Re_ a_b.eml", u"a__b.eml", u"(件名なし).eml", u"(件名なし)(1).eml"}},
      {{u"写真 📷", u"写真 📷"}, {u"写真 📷.eml", u"写真 📷(1).eml"}},
      // Working names of kept messages are present until their messages are named; one's own too.
      {{u"Recover3", u"x", u"Recover1", u"Recover4"}, {u"Recover3(1).eml", u"x.eml", u"Recover1.eml", u"Recover4(1).eml"}},
      {{u"Recover2", u"y", u"Recover2"}, {u"Recover2(1).eml", u"y.eml", u"Recover2.eml"}},
      {{u"Recover02", u"Recover9", u"Recover1"}, {u"Recover02.eml", u"Recover9.eml", u"Recover1.eml"}},
      // A removed record leaves no working name behind.
      {{u"Recover2", std::nullopt, u"Recover2"}, {u"Recover2.eml", u"Recover2(1).eml"}},
      {{u"Recover3", u"Recover3", std::nullopt}, {u"Recover3.eml", u"Recover3(1).eml"}},
      // Refused texts and names over 255 bytes keep the working name, which then stays taken.
      {{u"CON", u"nul", u"COM1", u"ok"}, {u"Recover1.eml", u"Recover2.eml", u"Recover3.eml", u"ok.eml"}},
      {{u"CON", u"Recover1", u"a\u0001b"}, {u"Recover1.eml", u"Recover1(1).eml", u"Recover3.eml"}},
      {{k251, k251, k252, kLongJapanese}, {k251 + u".eml", u"Recover2.eml", u"Recover3.eml", u"Recover4.eml"}},
  };
  for (const auto& c : cases) ExpectNames(c.subjects, c.names);
}

TEST(NamePlan, NamesDifferingOnlyInCaseClashOnEveryPlatform) {
  const struct {
    Subjects subjects;
    Names names;
  } cases[] = {
      {{u"Hello", u"hello", u"HELLO"}, {u"Hello.eml", u"hello(1).eml", u"HELLO(2).eml"}},
      {{u"Hello", u"Hello", u"hello"}, {u"Hello.eml", u"Hello(1).eml", u"hello(2).eml"}},
      {{u"recover2", u"x"}, {u"recover2(1).eml", u"x.eml"}},
      // A file may be renamed to its own name in another case.
      {{u"x", u"recover2"}, {u"x.eml", u"recover2.eml"}},
      {{u"ａｂｃ", u"ＡＢＣ", u"Ωmega", u"ωMEGA"}, {u"ａｂｃ.eml", u"ＡＢＣ(1).eml", u"Ωmega.eml", u"ωMEGA(1).eml"}},
  };
  // The rename pass gave these names only in folders that ignore case; the plan gives them everywhere.
  for (const auto& c : cases) ExpectPlanned(c.subjects, c.names);
}

TEST(NamePlan, ManyMessagesOfOneSubjectTakeTheNextSuffixes) {
  Subjects subjects(150, u"会議");
  subjects[10] = u"会議(3)";
  subjects[20] = std::nullopt;
  subjects[30] = u"会議(30)";
  const Names planned = Planned(subjects);
  EXPECT_EQ(planned, Renamed(subjects));
  ASSERT_EQ(planned.size(), 149u);
  EXPECT_EQ(planned[9], u"会議(9).eml");
  EXPECT_EQ(planned[10], u"会議(3)(1).eml");
  EXPECT_EQ(planned[11], u"会議(10).eml");
  EXPECT_EQ(planned[29], u"会議(30).eml");
  EXPECT_EQ(planned[31], u"会議(29).eml");
  EXPECT_EQ(planned[32], u"会議(31).eml") << "(30) is taken by the subject before";
  EXPECT_EQ(std::set<std::u16string>(planned.begin(), planned.end()).size(), planned.size());
}

}  // namespace
