#include "cli/TerminalUi.h"

#include <gtest/gtest.h>

#include <vector>

#include "CapturedOutput.h"
#include "RunPhases.h"

namespace {

using namespace std::chrono_literals;
using clitest::CapturedOutput;

// What a person sees of the progress line: each redraw's text, without the padding blanks.
std::vector<std::u16string> ShownLines(const std::u16string& err) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start <= err.size()) {
    std::size_t end = err.find(u'\r', start);
    if (end == std::u16string::npos) end = err.size();
    std::u16string line = err.substr(start, end - start);
    while (!line.empty() && line.back() == u' ') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

struct Terminal {
  explicit Terminal(bool errIsTerminal, bool quiet = false, cli::StoreLabels labels = {},
                    Language language = Language::Japanese)
      : err(errIsTerminal),
        progress(err, cli::WantsProgressLine(quiet, err), [this] { return now; }),
        ui(u"/home/u/Documents", cli::TerminalStreams{out, err, language}, progress, [this] { return interrupted; },
           run, std::move(labels)) {}

  // The run pumps after changing the status bar; time passes between the pumps of a long run.
  void Pump() {
    ui.PumpEvents();
    now += 1s;
  }

  CapturedOutput out;
  CapturedOutput err;
  std::chrono::steady_clock::time_point now{};
  int interrupted = 0;  // Ctrl-Cs pressed
  RecoveryRun run;
  cli::ProgressLine progress;
  cli::TerminalUi ui;
};

void PlayRun(Terminal& t) {
  clitest::EnterExtraction(t.ui);
  t.Pump();
  clitest::SetPercentAndCount(t.ui, 37, u"12通のメールを抽出");
  t.Pump();
  clitest::SetPercentAndCount(t.ui, 100, u"12通のメールを抽出");
  t.Pump();
  clitest::EnterDuplicateRemoval(t.ui);
  t.Pump();
  clitest::EnterRenaming(t.ui);
  t.Pump();
  clitest::SetPercentAndCount(t.ui, 50, u"3通のメールをリネーム");
  t.Pump();
  clitest::EnterEnd(t.ui);
  t.ui.ShowMessage({u"6通のメールが見つかりました。出力先フォルダをExplorerで開きますか？", MessageIcon::Question,
                    MessageButtons::YesNo, u""});
  t.ui.Finish({RecoveryResult::Completed, 6, u"/home/u/Documents/メール復元20261206153012"});
}

TEST(TerminalUi, ShowsEachPhaseOnOneLineWithTheWindowsTexts) {
  Terminal t(true);
  PlayRun(t);
  const std::vector<std::u16string> expected{
      u"抽出中 0% 0通のメールを抽出", u"抽出中 37% 12通のメールを抽出", u"抽出中 100% 12通のメールを抽出",
      u"重複データを削除しています。", u"ﾘﾈｰﾑ中 0%", u"ﾘﾈｰﾑ中 50% 3通のメールをリネーム"};
  EXPECT_EQ(ShownLines(t.err.Text()), expected);
  // The line is blanked before the report, so nothing of it is left on the screen.
  EXPECT_TRUE(t.err.Text().ends_with(u"\r"));
  EXPECT_EQ(t.out.Text(), u"6通のメールが見つかりました。\n/home/u/Documents/メール復元20261206153012\n");
}

TEST(TerminalUi, AProgressPutOffIsShownAtALaterPumpEvenWithoutChange) {
  Terminal t(true);
  clitest::EnterExtraction(t.ui);
  t.ui.PumpEvents();
  clitest::SetPercentAndCount(t.ui, 100, u"7通のメールを抽出");
  t.now += 10ms;
  t.ui.PumpEvents();
  EXPECT_EQ(ShownLines(t.err.Text()), std::vector<std::u16string>{u"抽出中 0% 0通のメールを抽出"});
  t.now += cli::ProgressLine::kRedrawInterval;
  t.ui.PumpEvents();
  t.ui.PumpEvents();
  const std::vector<std::u16string> expected{u"抽出中 0% 0通のメールを抽出", u"抽出中 100% 7通のメールを抽出"};
  EXPECT_EQ(ShownLines(t.err.Text()), expected);
}

TEST(TerminalUi, ProgressOnlyOnATerminalAndNotWhenQuiet) {
  const struct {
    bool terminal;
    bool quiet;
    bool progress;
  } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
  for (const auto& c : cases) {
    Terminal t(c.terminal, c.quiet);
    PlayRun(t);
    EXPECT_EQ(!t.err.Text().empty(), c.progress) << "terminal=" << c.terminal << " quiet=" << c.quiet;
    // The report never depends on it.
    EXPECT_EQ(t.out.Text(), u"6通のメールが見つかりました。\n/home/u/Documents/メール復元20261206153012\n");
  }
}

TEST(TerminalUi, MapsMessageBoxesToTheStreams) {
  const struct {
    UiMessage message;
    MessageAnswer answer;
    std::u16string out;
    std::u16string err;
  } cases[] = {
      {{u"DBXファイルをオープンできませんでした。\r\n/x/受信トレイ.dbx", MessageIcon::Exclamation, MessageButtons::Ok,
        u"No such file or directory"},
       MessageAnswer::Ok,
       u"",
       u"DBXファイルをオープンできませんでした。\n/x/受信トレイ.dbx\n理由: No such file or directory\n"},
      {{u"出力先フォルダの作成に失敗しました。", MessageIcon::Critical, MessageButtons::Ok, u"Permission denied"},
       MessageAnswer::Ok,
       u"",
       u"出力先フォルダの作成に失敗しました。\n理由: Permission denied\n"},
      {{u"出力先フォルダの作成に失敗しました。", MessageIcon::Critical, MessageButtons::Ok, u""},
       MessageAnswer::Ok,
       u"",
       u"出力先フォルダの作成に失敗しました。\n"},
      {{u"メールが見つかりませんでした。", MessageIcon::Information, MessageButtons::Ok, u""},
       MessageAnswer::Ok,
       u"メールが見つかりませんでした。\n",
       u""},
      // The question is answered No and printed only by Finish, with the folder.
      {{u"3通のメールが見つかりました。出力先フォルダをExplorerで開きますか？", MessageIcon::Question,
        MessageButtons::YesNo, u""},
       MessageAnswer::No,
       u"",
       u""},
  };
  for (const auto& c : cases) {
    Terminal t(false);
    EXPECT_EQ(t.ui.ShowMessage(c.message), c.answer);
    EXPECT_EQ(t.out.Text(), c.out);
    EXPECT_EQ(t.err.Text(), c.err);
  }
}

TEST(TerminalUi, FinishWithoutTheQuestionPrintsNoReport) {
  Terminal t(false);
  t.ui.ShowMessage({u"メールが見つかりませんでした。", MessageIcon::Information, MessageButtons::Ok, u""});
  t.ui.Finish({RecoveryResult::Completed, 0, u"/home/u/Documents/メール復元20261206153012"});
  EXPECT_EQ(t.out.Text(), u"メールが見つかりませんでした。\n");
}

TEST(TerminalUi, AFailureClearsTheProgressLineBeforeItIsPrinted) {
  Terminal t(true);
  clitest::EnterExtraction(t.ui);
  t.Pump();
  t.ui.ShowMessage({u"Recover3.eml を書き込めませんでした。", MessageIcon::Exclamation, MessageButtons::Ok,
                    u"No space left on device"});
  EXPECT_EQ(t.err.Text(), u"\r抽出中 0% 0通のメールを抽出\r" + std::u16string(27, u' ') +
                              u"\rRecover3.eml を書き込めませんでした。\n理由: No space left on device\n");
}

TEST(TerminalUi, CtrlCReachesTheRunAtTheNextPump) {
  Terminal t(false);
  t.Pump();
  EXPECT_FALSE(t.run.StopRequested);
  t.interrupted = 1;
  EXPECT_FALSE(t.run.StopRequested) << "only a pump passes the interrupt on";
  t.Pump();
  EXPECT_TRUE(t.run.StopRequested);
  // The run clears the flag once the scan is over: that Ctrl-C has been acted on, the next one counts.
  t.run.StopRequested = false;
  t.Pump();
  EXPECT_FALSE(t.run.StopRequested);
  t.interrupted = 2;
  t.Pump();
  EXPECT_TRUE(t.run.StopRequested);
}

TEST(TerminalUi, TheOutputParentFolderIsTheOneGiven) {
  Terminal t(false);
  EXPECT_EQ(t.ui.OutputParentFolder(), u"/home/u/Documents");
}

TEST(TerminalUi, TheReportCountsWhatTheOutcomeSays) {
  Terminal t(false);
  t.ui.ShowMessage({u"12通のメールが見つかりました。出力先フォルダをExplorerで開きますか？", MessageIcon::Question,
                    MessageButtons::YesNo, u""});
  t.ui.Finish({.result = RecoveryResult::Completed, .messageCount = 7, .outputFolder = u"/out/メール復元20261206153012"});
  EXPECT_EQ(t.out.Text(), u"7通のメールが見つかりました。\n/out/メール復元20261206153012\n");
}

// Every sentence the outcome adds reaches the terminal's report, without the question.
TEST(TerminalUi, TheReportCarriesEverySentenceTheOutcomeAdds) {
  const std::u16string folder = u"/out/メール復元20261206153012";
  struct Case {
    RecoveryOutcome outcome;
    std::u16string_view report;
  };
  const std::vector<Case> cases{
      {{.result = RecoveryResult::Stopped, .messageCount = 2, .stopped = true}, u"中断しました。2通のメールが見つかりました。"},
      {{.messageCount = 5, .cutShortCount = 2}, u"5通のメールが見つかりました。うち2通は途中で切れています。"},
      {{.result = RecoveryResult::WriteFailed, .messageCount = 1, .stopped = true}, u"中断しました。1通のメールが見つかりました。"},
      {{.messageCount = 1, .pointerCheckRejects = 9},
       u"1通のメールが見つかりました。「ポインターの正当性チェックを行わない」をオンにすると、さらに見つかる可能性があります。"},
      {{.messageCount = 3, .missingSignature = true},
       u"3通のメールが見つかりました。DBXファイルの署名がありません（破損しているか、DBXファイルではありません）。"},
  };
  for (const auto& c : cases) {
    Terminal t(false);
    t.ui.ShowMessage({u"?", MessageIcon::Question, MessageButtons::YesNo, u""});
    RecoveryOutcome outcome = c.outcome;
    outcome.outputFolder = folder;
    t.ui.Finish(outcome);
    EXPECT_EQ(t.out.Text(), std::u16string(c.report) + u"\n" + folder + u"\n");
  }
}

TEST(TerminalUi, InARunOverSeveralStoresEveryLineNamesItsStore) {
  Terminal t(true, false, {u"/old/受信トレイ.dbx", u"[2/3] 受信トレイ.dbx"});
  PlayRun(t);
  t.ui.ShowMessage({u"Recover3.eml を書き込めませんでした。", MessageIcon::Exclamation, MessageButtons::Ok, u""});
  const std::vector<std::u16string> shown = ShownLines(t.err.Text());
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), u"[2/3] 受信トレイ.dbx 抽出中 0% 0通のメールを抽出");
  EXPECT_EQ(shown.back(), u"/old/受信トレイ.dbx: Recover3.eml を書き込めませんでした。\n");
  EXPECT_EQ(t.out.Text(), u"/old/受信トレイ.dbx: 6通のメールが見つかりました。\n") << "the batch prints the run folder";
}

TEST(TerminalUi, InEnglishTheProgressTheReasonAndTheReportAreEnglish) {
  Terminal t(true, false, {}, Language::English);
  EXPECT_EQ(t.ui.TextLanguage(), Language::English) << "the run's own messages follow the terminal";
  clitest::EnterExtraction(t.ui);
  t.Pump();
  clitest::EnterDuplicateRemoval(t.ui);
  t.Pump();
  clitest::EnterRenaming(t.ui);
  t.Pump();
  t.ui.ShowMessage({u"The DBX file could not be opened.", MessageIcon::Exclamation, MessageButtons::Ok,
                    u"No such file or directory"});
  const std::vector<std::u16string> expected{u"Extracting 0% Messages extracted: 0", u"Removing duplicate data.",
                                             u"Renaming 0%",
                                             u"The DBX file could not be opened.\nReason: No such file or directory\n"};
  EXPECT_EQ(ShownLines(t.err.Text()), expected);
  t.ui.ShowMessage({u"?", MessageIcon::Question, MessageButtons::YesNo, u""});
  t.ui.Finish({.messageCount = 4, .outputFolder = u"/out/メール復元20261206153012", .cutShortCount = 1});
  EXPECT_EQ(t.out.Text(), u"Messages found: 4. Cut short: 1 of them.\n/out/メール復元20261206153012\n");
}

}  // namespace
