// The freed messages in a whole run: beside the live ones, which stay as they were, in their subfolder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;
using testsupport::RecordingUi;
using testsupport::RunResult;

const std::string kFreedSentence = "削除済み領域から1通のメールを復元しました（512バイトごとに4バイトが失われています）。";

// Names and contents of every file under folder, paths relative to it.
std::set<std::pair<std::string, std::string>> FilesUnder(const std::filesystem::path& folder) {
  std::set<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const auto bytes = testsupport::ReadFileBytes(entry.path());
    files.emplace(platform::ToUtf8(entry.path().lexically_relative(folder).generic_u16string()),
                  std::string(bytes.begin(), bytes.end()));
  }
  return files;
}

class RunWithFreed : public ::testing::Test {
 protected:

  // The run's folder after a recovery of the store, with freed recovery on or off.
  std::filesystem::path Recover(const DbxWriter& writer, bool recoverFreed, RecordingUi& ui) {
    const auto store = temp_.Path() / "store.dbx";
    writer.Save(store);
    RecoveryRun run(RunOptions{false, recoverFreed});
    run_ = testsupport::RunRecovery(store, ui, run);
    return std::filesystem::path(run_.outcome.outputFolder);
  }

  testsupport::TempFolder temp_;
  RunResult run_;
};

TEST_F(RunWithFreed, LiveFilesStayAsTheyWereAndTheFreedOneGoesToItsSubfolder) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("live", 900, 1));
  const std::string gone = testsupport::MakeMessage("gone", 1100, 2);
  writer.FreeMessage(writer.AppendMessage(gone));

  RecordingUi without(temp_.Path().u16string());
  const auto live = FilesUnder(Recover(writer, false, without));
  EXPECT_EQ(run_.outcome.freedCount, 0);
  RecordingUi with(temp_.Path().u16string());
  const std::filesystem::path folder = Recover(writer, true, with);
  const auto all = FilesUnder(folder);

  ASSERT_EQ(live.size(), 1u);
  EXPECT_EQ(live.begin()->first, "live.eml");
  std::set<std::pair<std::string, std::string>> liveAgain;
  std::set<std::string> freedNames;
  for (const auto& file : all) {
    if (file.first.starts_with("削除済みメール/")) freedNames.insert(file.first);
    else liveAgain.insert(file);
  }
  EXPECT_EQ(liveAgain, live);
  EXPECT_EQ(freedNames, (std::set<std::string>{"削除済みメール/gone.eml", "削除済みメール/復元レポート.tsv"}));
  const auto freedBytes = testsupport::ReadFileBytes(folder / u"削除済みメール" / "gone.eml");
  std::string lossy = gone;
  for (std::size_t at = 0; at < lossy.size(); at += 512) lossy.replace(at, 4, "????");
  EXPECT_EQ(std::string(freedBytes.begin(), freedBytes.end()), lossy);
  EXPECT_EQ(run_.outcome.messageCount, 1);
  EXPECT_EQ(run_.outcome.freedCount, 1);
  EXPECT_EQ(run_.outcome.result, RecoveryResult::Completed);
  ASSERT_EQ(with.messages.size(), 1u);
  EXPECT_EQ(platform::ToUtf8(with.messages[0].text),
            "1通のメールが見つかりました。" + kFreedSentence + "出力先フォルダをExplorerで開きますか？");
}

TEST_F(RunWithFreed, RunWithOnlyFreedMessagesStillReportsThem) {
  DbxWriter writer;
  writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("gone", 300, 3)));
  RecordingUi ui(temp_.Path().u16string());
  const std::filesystem::path folder = Recover(writer, true, ui);
  EXPECT_TRUE(std::filesystem::exists(folder / u"削除済みメール" / "gone.eml"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(platform::ToUtf8(ui.messages[0].text),
            "0通のメールが見つかりました。" + kFreedSentence + "出力先フォルダをExplorerで開きますか？");
}

TEST_F(RunWithFreed, StopDuringTheRunWritesNoFreedMessage) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("live", 300, 1));
  writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("gone", 300, 3)));
  RecordingUi ui(temp_.Path().u16string());
  ui.onPump = [&ui] { ui.run->StopRequested = true; };
  const std::filesystem::path folder = Recover(writer, true, ui);
  EXPECT_EQ(run_.outcome.result, RecoveryResult::Stopped);
  EXPECT_EQ(run_.outcome.freedCount, 0);
  EXPECT_FALSE(std::filesystem::exists(folder / u"削除済みメール"));
}

TEST_F(RunWithFreed, StopDuringTheFreedPhaseEndsItAfterTheFileInHand) {
  DbxWriter writer;
  writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("first", 300, 1)));
  writer.FreeMessage(writer.AppendMessage(testsupport::MakeMessage("second", 300, 2)));
  RecordingUi ui(temp_.Path().u16string());
  // The subfolder appears with the first freed file; the pump after it presses Stop.
  ui.onPump = [this, &ui] {
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      if (std::filesystem::exists(entry.path() / u"削除済みメール")) ui.run->StopRequested = true;
  };
  const std::filesystem::path folder = Recover(writer, true, ui);
  EXPECT_EQ(run_.outcome.result, RecoveryResult::Stopped);
  EXPECT_EQ(run_.outcome.freedCount, 1);
  EXPECT_EQ(FilesUnder(folder / u"削除済みメール").size(), 2u);  // the first message and the report
}

}  // namespace
