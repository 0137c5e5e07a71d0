// The work after the scan: tail pieces left out, files dated from their headers and named after their
// subjects, clashes numbered; a stop during the writing ends it after the file in hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/naming/MailFileTime.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/FileTimesProbe.h"
#include "tests/support/RecoveryRun.h"

namespace {

using testsupport::DbxWriter;
using testsupport::RecordingUi;
using testsupport::RunResult;

constexpr std::int64_t kBlock = 528;

class Naming : public ::testing::Test {
 protected:

  RunResult Recover(const DbxWriter& writer, RecordingUi& ui) {
    const auto store = temp_.Path() / "store.dbx";
    writer.Save(store);
    return testsupport::RunRecovery(store, ui);
  }
  RunResult Recover(const DbxWriter& writer) {
    RecordingUi ui(temp_.Path().u16string());
    return Recover(writer, ui);
  }
  RecordingUi Ui() const { return RecordingUi(temp_.Path().u16string()); }

  // Names of the files the run left, each with the message it holds, in extraction order.
  static std::vector<std::string> FinalNames(const RunResult& run) {
    std::vector<std::string> names;
    for (const MailRecord& record : run.records)
      if (record.Status != 0) names.push_back(std::filesystem::path(record.FileName).string());
    return names;
  }
  static std::set<std::string> FolderListing(const RunResult& run) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(run.outcome.outputFolder)))
      names.insert(entry.path().filename().string());
    return names;
  }

  testsupport::TempFolder temp_;
};

const DbxWriter& StoreOfSubjects(DbxWriter&& writer, const std::vector<std::string>& subjects) {
  std::uint32_t seed = 1;
  for (const auto& subject : subjects) writer.AppendMessage(testsupport::MakeMessage(subject, 300, seed++));
  return writer;
}

TEST_F(Naming, FilesAreNamedAfterTheirCleanedSubjectsWithClashesNumbered) {
  const struct {
    std::vector<std::string> subjects;
    std::vector<std::string> names;
  } cases[] = {
      {{"Hello", "Hello", "Hello"}, {"Hello.eml", "Hello(1).eml", "Hello(2).eml"}},
      {{"A", "B", "A", "B", "A"}, {"A.eml", "B.eml", "A(1).eml", "B(1).eml", "A(2).eml"}},
      {{"Hello", "Hello", "Hello(1)", "Hello"}, {"Hello.eml", "Hello(1).eml", "Hello(1)(1).eml", "Hello(2).eml"}},
      {{"Re: a/b", "a?*b", "x<y>z|w\"q"}, {"Re_ a_b.eml", "a__b.eml", "x_y_z_w_q.eml"}},
      {{"../x", "..\\..\\x", "C:\\Windows\\x", "/etc/passwd"}, {".._x.eml", ".._.._x.eml", "C__Windows_x.eml", "_etc_passwd.eml"}},
      // The file's own working name counts as taken; another message's working name too, until that
      // message has been renamed away.
      {{"Recover3", "x", "Recover1", "Recover4"}, {"Recover3(1).eml", "x.eml", "Recover1.eml", "Recover4(1).eml"}},
      {{"Recover2", "y", "Recover2"}, {"Recover2(1).eml", "y.eml", "Recover2.eml"}},
      // Refused everywhere: the working name stays.
      {{"CON", "nul", "COM1", "ok"}, {"Recover1.eml", "Recover2.eml", "Recover3.eml", "ok.eml"}},
  };
  for (const auto& c : cases) {
    const RunResult run = Recover(StoreOfSubjects(DbxWriter(), c.subjects));
    EXPECT_EQ(FinalNames(run), c.names);
    EXPECT_EQ(FolderListing(run), std::set<std::string>(c.names.begin(), c.names.end()));
  }
}

TEST_F(Naming, ASubjectWithoutFieldOrTextIsNamedNoSubject) {
  DbxWriter writer;
  writer.AppendMessage("From: a@example.jp\r\nDate: Sat, 6 Jul 2002 10:20:30 +0900\r\n\r\nbody\r\n");
  writer.AppendMessage("From: a@example.jp\r\nSubject: \r\n\r\nbody\r\n");
  const RunResult run = Recover(writer);
  EXPECT_EQ(FinalNames(run), (std::vector<std::string>{"(件名なし).eml", "(件名なし)(1).eml"}));
}

TEST_F(Naming, NamesLongerThan255BytesKeepTheWorkingName) {
  const std::string fits(251, 'a');    // with ".eml": 255 bytes
  std::string longJapanese;
  for (int i = 0; i < 84; ++i) longJapanese += "\xe3\x81\x82";  // あ: 84 × 3 + 4 = 256 bytes
  const RunResult run = Recover(StoreOfSubjects(DbxWriter(), {fits, fits, std::string(252, 'b'), longJapanese}));
  // The second one's "(1)" would pass the limit, so it stays as it is.
  EXPECT_EQ(FinalNames(run), (std::vector<std::string>{fits + ".eml", "Recover2.eml", "Recover3.eml", "Recover4.eml"}));
}

TEST_F(Naming, FilesAreDatedFromTheirHeadersBeforeTheyAreRenamed) {
  DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("dated", 300));
  writer.AppendMessage(
      "Received: from a by b; Mon, 25 Dec 2000 09:00:00 +0900\r\nSubject: received\r\n"
      "Date: Sun, 24 Dec 2000 08:00:00 +0900\r\n\r\nbody\r\n");
  writer.AppendMessage("Subject: undated\r\nDate: someday\r\n\r\nbody\r\n");
  const auto before = std::filesystem::file_time_type::clock::now();
  const RunResult run = Recover(writer);
  ASSERT_EQ(run.records.size(), 3u);

  const struct {
    MailDate date;
  } dated[] = {{{2002, 7, 6, 10, 20, 30}}, {{2000, 12, 25, 9, 0, 0}}};
  for (std::size_t i = 0; i < 2; ++i) {
    const auto times = testsupport::ReadFileTimes(testsupport::FileOf(run, run.records[i]).u16string());
    ASSERT_TRUE(times);
    EXPECT_EQ(times->lastWrite, DateToFileTime(dated[i].date)) << i;
  }
  // "someday" gives "(破損)": the file keeps the time it was written at.
  EXPECT_GE(std::filesystem::last_write_time(testsupport::FileOf(run, run.records[2])),
            before - std::chrono::seconds(2));
}

TEST_F(Naming, StopDuringWritingEndsAfterTheFileInHandAndCountsWhatWasWritten) {
  RecordingUi ui = Ui();
  ui.onPump = [&ui] {
    if (ui.calls.back() == "caption lblStatus 1通のメールをリネーム") ui.run->StopRequested = true;
  };
  const RunResult run = Recover(StoreOfSubjects(DbxWriter(), {"one", "two", "three"}), ui);
  const std::vector<std::string> all{"one.eml", "two.eml", "three.eml"};
  // The writer runs ahead of the progress shown, so a stop may come after any of the files.
  const std::size_t written = run.files.size();
  ASSERT_GE(written, 1u);
  EXPECT_EQ(FolderListing(run), std::set<std::string>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(written)));
  EXPECT_EQ(run.outcome.result, RecoveryResult::Stopped);
  const std::u16string count = written < 3 ? u"3通のうち" + platform::FromUtf8(std::to_string(written)) + u"通を書き出しました。" : u"";
  EXPECT_EQ(ui.messages.back().text, u"中断しました。3通のメールが見つかりました。" + count + u"出力先フォルダをExplorerで開きますか？");
}

TEST_F(Naming, TwoInterruptsDuringTheScanStillWriteWhatWasFound) {
  RecordingUi ui = Ui();
  ui.onPump = [&ui] {
    if (ui.calls.back() != "caption lblStatus 2通のメールを抽出") return;
    ui.run->StopRequested = true;
    ui.run->HaltRequested = true;
  };
  const RunResult run = Recover(StoreOfSubjects(DbxWriter(), {"one", "two", "three"}), ui);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Stopped);
  EXPECT_EQ(run.outcome.messageCount, 2);
  EXPECT_EQ(FolderListing(run), (std::set<std::string>{"one.eml", "two.eml"}));
  EXPECT_EQ(ui.messages.back().text, u"中断しました。2通のメールが見つかりました。出力先フォルダをExplorerで開きますか？");
}

// A store whose first message is the tail of the second: C = 4 records of which one is removed.
const DbxWriter& StoreWithATailPiece(DbxWriter&& writer) {
  const std::string message = testsupport::MakeMessage("long", 700);
  const std::int64_t tail = writer.Reserve(kBlock);
  writer.AppendNoise(200, 3);
  const std::int64_t head = writer.Reserve(kBlock);
  writer.PlaceMessage(message, {head, tail});
  writer.AppendMessage(testsupport::MakeMessage("three", 300, 3));
  writer.AppendMessage(testsupport::MakeMessage("four", 300, 4));
  return writer;
}

TEST_F(Naming, TailPiecesAreRemovedAndTheBarStillMovesForThem) {
  RecordingUi ui = Ui();
  const RunResult run = Recover(StoreWithATailPiece(DbxWriter()), ui);
  ASSERT_EQ(run.records.size(), 4u);
  EXPECT_EQ(run.records[0].Status, 0);
  EXPECT_TRUE(run.records[0].FileName.empty()) << "a removed record gets no file";
  EXPECT_EQ(FinalNames(run), (std::vector<std::string>{"long.eml", "three.eml", "four.eml"}));
  EXPECT_EQ(run.outcome.messageCount, 3);

  const auto renameSteps = ui.CallsStartingWith("caption lblStatus");
  const std::vector<std::string> last(renameSteps.end() - 4, renameSteps.end());
  EXPECT_EQ(last, (std::vector<std::string>{"caption lblStatus 0通のメールをリネーム", "caption lblStatus 1通のメールをリネーム",
                                            "caption lblStatus 2通のメールをリネーム", "caption lblStatus 3通のメールをリネーム"}));
  const auto percents = ui.CallsStartingWith("caption lblPercent");
  EXPECT_EQ(std::vector<std::string>(percents.end() - 4, percents.end()),
            (std::vector<std::string>{"caption lblPercent 25%", "caption lblPercent 50%", "caption lblPercent 75%",
                                      "caption lblPercent 100%"}));
  EXPECT_EQ(ui.messages.back().text, u"3通のメールが見つかりました。出力先フォルダをExplorerで開きますか？");
}

TEST_F(Naming, ATailPieceIsNeverWritten) {
  RecordingUi ui = Ui();
  // While the scan goes on, nothing is written at all.
  bool wroteDuringScan = false;
  ui.onPump = [&ui, &wroteDuringScan, this] {
    if (ui.calls.back().starts_with("caption lblStatus") && ui.calls.back().ends_with("通のメールを抽出"))
      for (const auto& entry : std::filesystem::recursive_directory_iterator(temp_.Path()))
        wroteDuringScan = wroteDuringScan || entry.path().extension() == ".eml";
  };
  const RunResult run = Recover(StoreWithATailPiece(DbxWriter()), ui);
  EXPECT_FALSE(wroteDuringScan);
  EXPECT_EQ(run.records[0].Status, 0);
  EXPECT_EQ(FolderListing(run), (std::set<std::string>{"long.eml", "three.eml", "four.eml"}));
  EXPECT_EQ(run.outcome.messageCount, 3);
}

TEST_F(Naming, RenameProgressRoundsHalvesToEven) {
  RecordingUi ui = Ui();
  Recover(StoreOfSubjects(DbxWriter(), {"a", "b", "c", "d", "e", "f", "g", "h"}), ui);
  const auto percents = ui.CallsStartingWith("caption lblPercent");
  EXPECT_EQ(std::vector<std::string>(percents.end() - 8, percents.end()),
            (std::vector<std::string>{"caption lblPercent 12%", "caption lblPercent 25%", "caption lblPercent 38%",
                                      "caption lblPercent 50%", "caption lblPercent 62%", "caption lblPercent 75%",
                                      "caption lblPercent 88%", "caption lblPercent 100%"}));
}

}  // namespace
