// The recovery run as its user interface sees it: status-bar states, messages, folders, stopping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;
using testsupport::RecordingUi;
using testsupport::RunResult;

const std::vector<std::string> kExtractionPhase{
    "hide lblMessage", "show lblProc",    "hide lblRename", "show prgStatus",
    "show lblPercent", "show lblStatus",  "hide cmdStart",  "show cmdStop",
    "progress 0",      "caption lblPercent 0%", "caption lblStatus 0通のメールを抽出", "busy on"};
const std::vector<std::string> kDuplicatePhase{"show lblMessage", "hide lblProc",   "hide prgStatus",
                                               "hide lblPercent", "hide lblStatus", "caption lblMessage 重複データを削除しています。"};
const std::vector<std::string> kRenamePhase{"progress 0",        "caption lblPercent 0%", "caption lblMessage ",
                                            "caption lblStatus ", "hide lblMessage",       "show lblRename",
                                            "show prgStatus",     "show lblPercent",       "show lblStatus"};
const std::vector<std::string> kEndPhase{"show lblMessage", "hide lblRename", "hide prgStatus", "hide lblPercent",
                                         "hide lblStatus",  "show cmdStart",  "hide cmdStop",   "busy off"};

// The bar after each record of the rename pass: its percentage and the running rename count.
std::vector<std::string> RenameSteps(std::initializer_list<std::pair<int, int>> percentAndCount) {
  std::vector<std::string> steps;
  for (const auto& [percent, count] : percentAndCount) {
    const std::string value = std::to_string(percent);
    steps.insert(steps.end(), {"progress " + value, "caption lblPercent " + value + "%",
                               "caption lblStatus " + std::to_string(count) + "通のメールをリネーム"});
  }
  return steps;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class Run : public ::testing::Test {
 protected:

  std::filesystem::path Store(const DbxWriter& writer) {
    const auto store = temp_.Path() / "store.dbx";
    writer.Save(store);
    return store;
  }
  std::u16string Parent() const { return temp_.Path().u16string(); }

  testsupport::TempFolder temp_;
};

TEST_F(Run, StatusBarGoesThroughEveryPhaseThenOffersTheFolder) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 700));
  writer.AppendMessage(testsupport::MakeMessage("two", 100));
  RecordingUi ui(Parent());
  ui.answer = [](const UiMessage&) { return MessageAnswer::Yes; };
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);

  const std::string folder = platform::ToUtf8(run.outcome.outputFolder);
  EXPECT_EQ(ui.calls, Concat({kExtractionPhase,
                              {"caption lblStatus 1通のメールを抽出", "caption lblStatus 2通のメールを抽出", "progress 100",
                               "caption lblPercent 100%"},
                              kDuplicatePhase, kRenamePhase, RenameSteps({{50, 1}, {100, 2}}),
                              kEndPhase,
                              {"message Question YesNo 2通のメールが見つかりました。出力先フォルダをExplorerで開きますか？",
                               "open " + folder}}));
  EXPECT_GT(ui.pumps, 3);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(run.outcome.messageCount, 2);
}

TEST_F(Run, AnsweringNoLeavesTheFolderClosed) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 100));
  RecordingUi ui(Parent());
  testsupport::RunRecovery(Store(writer), ui);
  EXPECT_TRUE(ui.CallsStartingWith("open").empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(Run, StoreWithoutMessagesFillsTheBarAndReportsNothingFound) {
  DbxWriter writer;
  writer.AppendNoise(3000, 11);
  RecordingUi ui(Parent());
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);
  EXPECT_EQ(ui.calls, Concat({kExtractionPhase,
                              {"progress 100", "caption lblPercent 100%"},
                              kDuplicatePhase, kRenamePhase,
                              kEndPhase,
                              {"message Information Ok メールが見つかりませんでした。"}}));
  EXPECT_TRUE(run.files.empty());
  EXPECT_TRUE(run.records.empty());
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
}

TEST_F(Run, ProgressIsRoundedHalfToEvenPerWindow) {
  // After the first window the scan stands at position 1,048,578 (window start + search start 1);
  // these store lengths put that at exactly 12.5, 25 and 37.5 per cent.
  struct Case {
    std::int64_t length;
    std::string first;
  };
  const Case cases[] = {{8 * 1'048'578, "12"}, {4 * 1'048'578, "25"}, {8 * 1'048'578 / 3, "38"}};
  for (const auto& c : cases) {
    DbxWriter writer;
    writer.Reserve(static_cast<std::size_t>(c.length - writer.Size()));
    RecordingUi ui(Parent());
    testsupport::RunRecovery(Store(writer), ui);
    const auto progress = ui.CallsStartingWith("progress");
    ASSERT_GE(progress.size(), 4u);  // the rename pass adds its own 0 at the end
    EXPECT_EQ(progress[1], "progress " + c.first);
    EXPECT_EQ(ui.CallsStartingWith("caption lblPercent")[1], "caption lblPercent " + c.first + "%");
    EXPECT_EQ(progress[progress.size() - 2], "progress 100");
  }
}

TEST_F(Run, StoreThatCannotBeOpenedIsReportedBeforeAnythingChanges) {
  RecordingUi ui(Parent());
  RecoveryRun stopped;
  stopped.StopRequested = true;
  const auto missing = temp_.Path() / "missing.dbx";
  const RunResult run = testsupport::RunRecovery(missing, ui, stopped);
  EXPECT_EQ(ui.calls, (std::vector<std::string>{"message Exclamation Ok DBXファイルをオープンできませんでした。\r\n" +
                                                platform::ToUtf8(missing.u16string())}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(ui.messages[0].osReason.empty());
  EXPECT_EQ(run.outcome.result, RecoveryResult::StoreOpenFailed);
  EXPECT_TRUE(stopped.StopRequested);  // the run never started
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()), {}), 0);
}

TEST_F(Run, OutputFolderThatCannotBeCreatedIsReportedBeforeTheStatusBarChanges) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 100));
  RecordingUi ui((temp_.Path() / "absent" / "deeper").u16string());
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);
  ASSERT_EQ(ui.calls.size(), 1u);
  // The message names the folder it tried, under the chosen one.
  const std::string expected = "message Critical Ok 出力先フォルダの作成に失敗しました。\r\n" +
                               platform::ToUtf8((temp_.Path() / "absent" / "deeper").u16string() +
                                                platform::kPathSeparator) +
                               "メール復元";
  EXPECT_EQ(ui.calls[0].substr(0, expected.size()), expected);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(ui.messages[0].osReason.empty());
  EXPECT_EQ(run.outcome.result, RecoveryResult::FolderCreateFailed);
}

TEST_F(Run, OutputFolderIsNamedAfterTheLocalTimeUnderTheChosenFolder) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 100));
  const auto store = Store(writer);
  const std::u16string parent = Parent();
  for (const std::u16string& text : {parent, parent + platform::kPathSeparator}) {
    RecordingUi ui(text);
    const RunResult run = testsupport::RunRecovery(store, ui);
    const std::u16string folder = run.outcome.outputFolder;
    ASSERT_EQ(folder.substr(0, parent.size() + 1), parent + platform::kPathSeparator);
    const std::string name = platform::ToUtf8(folder.substr(parent.size() + 1));
    EXPECT_TRUE(std::regex_match(name, std::regex("メール復元20[0-9]{12}(\\([0-9]+\\))?"))) << name;
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(folder)));
  }
}

TEST_F(Run, ExistingFolderOfTheSameSecondGetsANumberedSibling) {
  // Folders for this second and the next few already exist: the run must not write into any of them.
  const auto now = platform::LocalNow();
  std::vector<std::filesystem::path> existing;
  for (int plus = 0; plus < 4; ++plus) {
    const auto when = platform::LocalDateTime{now.year, now.month, now.day, now.hour, now.minute, now.second + plus};
    if (when.second > 59) break;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", when.year, when.month, when.day, when.hour,
                  when.minute, when.second);
    existing.push_back(temp_.Path() / (u"メール復元" + platform::FromUtf8(digits)));
    std::filesystem::create_directory(existing.back());
  }
  if (existing.size() < 4) GTEST_SKIP() << "too close to the end of a minute to pin the folder name";
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 100));
  RecordingUi ui(Parent());
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);
  const std::filesystem::path folder(run.outcome.outputFolder);
  ASSERT_EQ(run.files.size(), 1u);
  for (const auto& taken : existing) {
    EXPECT_NE(folder, taken);
    EXPECT_TRUE(std::filesystem::is_empty(taken));
  }
  EXPECT_EQ(folder.u16string().substr(folder.u16string().size() - 3), u"(1)");
}

TEST_F(Run, SecondRunInTheSameSecondWritesIntoAFolderOfItsOwn) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("one", 100));
  const auto store = Store(writer);
  RecordingUi first(Parent());
  RecordingUi second(Parent());
  const RunResult a = testsupport::RunRecovery(store, first);
  const RunResult b = testsupport::RunRecovery(store, second);
  EXPECT_NE(a.outcome.outputFolder, b.outcome.outputFolder);
  EXPECT_EQ(a.files.size(), 1u);
  EXPECT_EQ(b.files.size(), 1u);
}

TEST_F(Run, StopDuringExtractionWritesWhatWasFoundAndStillReports) {
  DbxWriter writer;
  for (int i = 0; i < 3; ++i) writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 600));
  RecordingUi ui(Parent());
  ui.onPump = [&ui] {
    if (ui.calls.back() == "caption lblStatus 1通のメールを抽出") ui.run->StopRequested = true;
  };
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);
  EXPECT_EQ(run.files.size(), 1u);
  EXPECT_EQ(run.records[0].FileName, u"m0.eml");
  EXPECT_EQ(run.outcome.result, RecoveryResult::Stopped);
  EXPECT_EQ(run.outcome.messageCount, 1);
  EXPECT_EQ(ui.calls, Concat({kExtractionPhase,
                              {"caption lblStatus 1通のメールを抽出", "progress 100", "caption lblPercent 100%"},
                              kDuplicatePhase, kRenamePhase,
                              {"progress 100", "caption lblPercent 100%", "caption lblStatus 1通のメールをリネーム"},
                              kEndPhase,
                              {"message Question YesNo 中断しました。1通のメールが見つかりました。"
                               "出力先フォルダをExplorerで開きますか？"}}));
}

TEST_F(Run, ClosingTheWindowDuringARunEndsItWithoutAReport) {
  DbxWriter writer;
  for (int i = 0; i < 3; ++i) writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 600));
  RecordingUi ui(Parent());
  // Closed once, during the scan: what the scan found is still written.
  ui.onPump = [&ui] {
    if (ui.run->QuitRequested) return;
    ui.run->StopRequested = true;
    ui.run->QuitRequested = true;
  };
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(run.files.size(), 1u);
  EXPECT_EQ(ui.calls.back(), "busy off");
}

TEST_F(Run, AnEntryUnderAPlannedNameIsNeverReplacedAndTheMessageTakesTheNextName) {
  DbxWriter writer;
  std::vector<std::string> messages;
  for (int i = 0; i < 3; ++i) {
    messages.push_back(testsupport::MakeMessage("m" + std::to_string(i), 900));
    writer.AppendMessage(messages.back());
  }
  RecordingUi ui(Parent());
  std::filesystem::path blocked;
  ui.onPump = [&] {
    if (!blocked.empty() || ui.calls.back() != "caption lblStatus 1通のメールを抽出") return;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      if (entry.is_directory()) blocked = entry.path() / "m1.eml";
    std::ofstream(blocked, std::ios::binary) << "not ours";
  };
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);

  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  ASSERT_EQ(run.records.size(), 3u);
  EXPECT_EQ(run.records[1].FileName, u"m1(1).eml");
  EXPECT_EQ(run.files, messages);
  const auto kept = testsupport::ReadFileBytes(blocked);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "not ours");
}

TEST_F(Run, AThrowFromTheWindowWhileWritingEndsTheWritingAndLeavesItsFiles) {
  DbxWriter writer;
  for (int i = 0; i < 200; ++i) writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 600));
  RecordingUi ui(Parent());
  ui.onPump = [&ui] {
    if (ui.calls.back().ends_with("通のメールをリネーム")) throw std::runtime_error("window gone");
  };
  EXPECT_THROW(testsupport::RunRecovery(Store(writer), ui), std::runtime_error);
  std::size_t files = 0;
  for (const auto& folder : std::filesystem::directory_iterator(temp_.Path()))
    if (folder.is_directory()) files += std::distance(std::filesystem::directory_iterator(folder), {});
  EXPECT_GT(files, 0u);
}

TEST_F(Run, AFolderThatVanishesBeforeTheWritingEndsTheRunWithTheWarning) {
  DbxWriter writer;
  for (int i = 0; i < 3; ++i) writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 900));
  RecordingUi ui(Parent());
  std::filesystem::path folder;
  ui.onPump = [&] {
    if (!folder.empty() || ui.calls.back() != "caption lblStatus 1通のメールを抽出") return;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      if (entry.is_directory()) folder = entry.path();
    std::filesystem::remove(folder);
  };
  const RunResult run = testsupport::RunRecovery(Store(writer), ui);

  ASSERT_EQ(ui.messages.size(), 2u);
  const UiMessage& warning = ui.messages[0];
  EXPECT_EQ(warning.icon, MessageIcon::Exclamation);
  EXPECT_NE(warning.text.find(folder.u16string()), std::u16string::npos);
  EXPECT_GT(warning.text.size(), folder.u16string().size() + 20);  // the reason follows the folder
  EXPECT_EQ(run.outcome.result, RecoveryResult::WriteFailed);
  EXPECT_EQ(run.outcome.messageCount, 3);
  EXPECT_EQ(run.outcome.unwrittenCount, 3);
  EXPECT_NE(std::find(ui.calls.begin(), ui.calls.end(), "show cmdStart"), ui.calls.end());
}

TEST(JoinPath, PutsExactlyOneSeparatorBetweenFolderAndName) {
  const std::u16string sep(1, platform::kPathSeparator);
  EXPECT_EQ(platform::JoinPath(u"C:" + sep + u"Mail", u"x"), u"C:" + sep + u"Mail" + sep + u"x");
  EXPECT_EQ(platform::JoinPath(u"C:" + sep + u"Mail" + sep, u"x"), u"C:" + sep + u"Mail" + sep + u"x");
  EXPECT_EQ(platform::JoinPath(u"", u"x"), sep + u"x");
}

}  // namespace
