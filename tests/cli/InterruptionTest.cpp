// Ctrl-C in each phase of a run winds up as a Stop, TERM and HUP as Ctrl-C does, and a run killed at
// any moment leaves no partial file under a message's name.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CapturedOutput.h"
#include "ChildProcess.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalUi.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using testsupport::DbxWriter;
using testsupport::MakeMessage;

enum class Phase { BeforeTheRun, Extraction, DuplicateRemoval, Renaming, End };

// Passes everything on to the terminal and presses Ctrl-C as the run enters the chosen phase.
class CtrlCAtPhase final : public RecoveryUi {
 public:
  CtrlCAtPhase(RecoveryUi& inner, Phase phase, bool& interrupted)
      : inner_(inner), phase_(phase), interrupted_(interrupted) {
    if (phase == Phase::BeforeTheRun) interrupted_ = true;
  }
  std::u16string OutputParentFolder() override { return inner_.OutputParentFolder(); }
  void SetVisible(StatusControl control, bool visible) override {
    if (visible && control == StatusControl::lblProc) Entered(Phase::Extraction);
    if (visible && control == StatusControl::lblRename) Entered(Phase::Renaming);
    if (visible && control == StatusControl::cmdStart) Entered(Phase::End);
    inner_.SetVisible(control, visible);
  }
  void SetCaption(StatusControl control, const std::u16string& caption) override {
    if (control == StatusControl::lblMessage && caption == u"重複データを削除しています。") Entered(Phase::DuplicateRemoval);
    inner_.SetCaption(control, caption);
  }
  void SetProgress(int value) override { inner_.SetProgress(value); }
  void SetBusyPointer(bool busy) override { inner_.SetBusyPointer(busy); }
  MessageAnswer ShowMessage(const UiMessage& message) override { return inner_.ShowMessage(message); }
  void PumpEvents() override { inner_.PumpEvents(); }
  void OpenFolder(const std::u16string& path) override { inner_.OpenFolder(path); }

 private:
  void Entered(Phase phase) {
    if (phase == phase_) interrupted_ = true;
  }
  RecoveryUi& inner_;
  const Phase phase_;
  bool& interrupted_;
};

struct PhaseCase {
  const char* name;
  Phase phase;
  std::size_t found;    // messages kept
  std::size_t written;  // files, each under the name its subject gives
};

class CtrlC : public ::testing::TestWithParam<PhaseCase> {};

TEST_P(CtrlC, InAnyPhaseWindsUpAsAStop) {
  const PhaseCase& c = GetParam();
  testsupport::TempFolder temp;
  std::vector<std::string> messages;
  DbxWriter writer;
  for (int i = 0; i < 5; ++i) {
    messages.push_back(MakeMessage("phase " + std::to_string(i), 1200, static_cast<std::uint32_t>(i + 1)));
    writer.AppendMessage(messages.back());
  }
  const fs::path store = temp.Path() / "store.dbx";
  writer.Save(store);

  clitest::CapturedOutput out;
  clitest::CapturedOutput err;
  cli::ProgressLine progress(err, false);
  bool interrupted = false;
  RecoveryRun recoveryRun;
  cli::TerminalUi terminal(temp.Path().u16string(), cli::TerminalStreams{out, err, Language::Japanese}, progress,
                           [&] { return interrupted; }, recoveryRun);
  CtrlCAtPhase ui(terminal, c.phase, interrupted);
  const testsupport::FileSnapshot before = testsupport::Snapshot(store);
  const RecoveryOutcome outcome = RecoverMails(store.u16string(), recoveryRun, ui);
  terminal.Finish(outcome);
  EXPECT_EQ(testsupport::Snapshot(store), before);

  EXPECT_EQ(cli::ExitStatusFor(outcome.result, interrupted), cli::kExitInterrupted);
  // A Ctrl-C once the work is done cut nothing short: the report does not call the run stopped.
  const std::u16string stopped = c.phase == Phase::End ? u"" : u"中断しました。";
  const std::u16string written = c.written < c.found ? platform::FromUtf8(std::to_string(c.found)) + u"通のうち" +
                                                          platform::FromUtf8(std::to_string(c.written)) + u"通を書き出しました。"
                                                    : u"";
  EXPECT_EQ(out.Text(), stopped + platform::FromUtf8(std::to_string(c.found)) + u"通のメールが見つかりました。" + written +
                            u"\n" + outcome.outputFolder + u"\n");
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(outcome.outputFolder))) {
    const std::string name = platform::ToUtf8(entry.path().filename().u16string());
    const auto bytes = testsupport::ReadFileBytes(entry.path());
    const std::string content(bytes.begin(), bytes.end());
    EXPECT_NE(std::find(messages.begin(), messages.end(), content), messages.end()) << name << " is not whole";
    ++files;
    EXPECT_FALSE(name.starts_with("Recover")) << name;
  }
  EXPECT_EQ(files, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Interruption, CtrlC,
    // What the scan found is written under its final name when the Ctrl-C ends the scan; once the scan
    // is over, it ends the writing before the next file.
    ::testing::Values(PhaseCase{"BeforeTheRun", Phase::BeforeTheRun, 1, 1},
                      PhaseCase{"Extraction", Phase::Extraction, 1, 1},
                      PhaseCase{"DuplicateRemoval", Phase::DuplicateRemoval, 5, 0},
                      PhaseCase{"Renaming", Phase::Renaming, 5, 0}, PhaseCase{"End", Phase::End, 5, 5}),
    [](const ::testing::TestParamInfo<PhaseCase>& p) { return std::string(p.param.name); });

// The real program on a store large enough to be caught in the middle of a phase.
class KilledRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(parent_);
    DbxWriter writer(store_);
    for (int i = 0; i < kMessages; ++i) {
      const std::string subject = "killed " + std::to_string(i);
      messages_[subject + ".eml"] = MakeMessage(subject, 1100, static_cast<std::uint32_t>(i + 1));
      byOrder_.push_back(messages_[subject + ".eml"]);
      writer.AppendMessage(byOrder_.back());
    }
    writer.Finish();
  }

  fs::path OutputFolder() const {
    if (!fs::exists(parent_) || fs::is_empty(parent_)) return {};
    return *fs::directory_iterator(parent_);
  }
  // The rename pass goes in extraction order, so the first message's name shows that it has begun;
  // looking for that one name keeps the polling cheap in a folder of thousands of files.
  bool HasRenamedFile() const {
    const fs::path folder = OutputFolder();
    return !folder.empty() && fs::exists(folder / "killed 0.eml");
  }

  // Every file but the working ones (".palvenor-N.tmp") is named after its message and holds it whole.
  // Returns the files under a message's name; the working files go to working.
  std::size_t ExpectNothingHalfDone(const fs::path& folder, std::size_t& working) const {
    std::size_t files = 0;
    working = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(".palvenor-")) {
        ++working;
        continue;
      }
      const auto bytes = testsupport::ReadFileBytes(entry.path());
      EXPECT_EQ(messages_.count(name), 1u) << "unexpected file " << name;
      if (messages_.count(name) == 0) continue;
      ++files;
      EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == messages_.at(name)) << name << " is partial";
    }
    return files;
  }

  static constexpr int kMessages = 8000;
  testsupport::TempFolder temp_;
  const fs::path parent_ = temp_.Path() / "out";
  const fs::path store_ = temp_.Path() / "store.dbx";
  std::map<std::string, std::string> messages_;
  std::vector<std::string> byOrder_;
  const fs::path program_ = PALVENOR_CLI_PROGRAM;
};

struct SignalCase {
  const char* name;
  int signal;
};

class KilledAtRandom : public KilledRun, public ::testing::WithParamInterface<SignalCase> {};

// Each run gets the signal at a random moment once its folder is made; the store is never changed. A run
// that TERM or HUP reached winds up as after Ctrl-C, and only KILL may leave a working file.
TEST_P(KilledAtRandom, LeavesNoPartialFileUnderAMessagesName) {
  constexpr int kRuns = 4;
  constexpr int kSpanMs = 1500;  // about the run's length from its folder on
  const int signal = GetParam().signal;
  const testsupport::FileSnapshot before = testsupport::Snapshot(store_);
  std::mt19937 random(std::random_device{}());
  for (int i = 0; i < kRuns; ++i) {
    const int delay = std::uniform_int_distribution<int>(0, kSpanMs)(random);
    SCOPED_TRACE("signal " + std::to_string(delay) + " ms after the run folder was made");
    fs::remove_all(parent_);
    fs::create_directories(parent_);
    clitest::ChildOptions options;
    int waited = 0;
    bool sent = false;
    options.whileRunning = [&](pid_t pid) {
      if (sent || OutputFolder().empty() || waited++ < delay) return;
      ::kill(pid, signal);
      sent = true;
    };
    const auto run = clitest::RunChild(program_, {"--output", parent_.string(), store_.string()}, options);
    EXPECT_EQ(testsupport::Snapshot(store_), before);
    std::size_t working = 0;
    const std::size_t files = ExpectNothingHalfDone(OutputFolder(), working);
    // A signal that comes once the run has settled its outcome finds every file written: it ends as a run
    // left alone does.
    const bool finished = run.exitStatus == 0 && files == messages_.size();
    const bool stopped = run.exitStatus == cli::kExitInterrupted;
    EXPECT_TRUE(sent && signal != SIGKILL ? stopped || finished : !stopped) << run.exitStatus;
    EXPECT_TRUE(working == 0 || signal == SIGKILL) << working << " working files";
  }
}

INSTANTIATE_TEST_SUITE_P(Signals, KilledAtRandom,
                         ::testing::Values(SignalCase{"TERM", SIGTERM}, SignalCase{"HUP", SIGHUP},
                                           SignalCase{"KILL", SIGKILL}),
                         [](const ::testing::TestParamInfo<SignalCase>& p) { return std::string(p.param.name); });

// The report of a run that a Ctrl-C ended: every message kept, and how many of them were written.
std::string StoppedReport(std::size_t found, std::size_t written, const fs::path& folder) {
  const std::string count = written < found ? std::to_string(found) + "通のうち" + std::to_string(written) + "通を書き出しました。" : "";
  return "中断しました。" + std::to_string(found) + "通のメールが見つかりました。" + count + "\n" + folder.string() + "\n";
}

TEST_F(KilledRun, CtrlCDuringWritingEndsItAfterTheFileInHand) {
  clitest::ChildOptions options;
  bool sent = false;
  options.whileRunning = [&](pid_t pid) {
    if (sent || !HasRenamedFile()) return;
    ::kill(pid, SIGINT);
    sent = true;
  };
  const auto run = clitest::RunChild(program_, {"--output", parent_.string(), store_.string()}, options);
  ASSERT_TRUE(sent) << "the run ended before Ctrl-C";
  EXPECT_EQ(run.exitStatus, cli::kExitInterrupted);
  std::size_t working = 0;
  const std::size_t files = ExpectNothingHalfDone(OutputFolder(), working);
  EXPECT_LT(files, static_cast<std::size_t>(kMessages));
  EXPECT_EQ(working, 0u);
  EXPECT_EQ(run.out, StoppedReport(kMessages, files, OutputFolder()));
}

TEST_F(KilledRun, ASecondCtrlCEndsTheWritingAndStillWindsUp) {
  clitest::ChildOptions options;
  int sent = 0;
  // The second on the next look, so that the two are not merged into one pending signal.
  options.whileRunning = [&](pid_t pid) {
    if (sent == 2 || !HasRenamedFile()) return;
    ::kill(pid, SIGINT);
    ++sent;
  };
  const auto run = clitest::RunChild(program_, {"--output", parent_.string(), store_.string()}, options);
  ASSERT_EQ(sent, 2) << "the run ended before the second Ctrl-C";
  // Not killed by the signal: the run ended itself, with the file it was writing whole.
  EXPECT_EQ(run.exitStatus, cli::kExitInterrupted);
  std::size_t working = 0;
  const std::size_t files = ExpectNothingHalfDone(OutputFolder(), working);
  EXPECT_EQ(working, 0u);
  EXPECT_EQ(run.out, StoppedReport(kMessages, files, OutputFolder()));
}

}  // namespace
#endif
