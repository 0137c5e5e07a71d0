// Output that fails part-way (a full disk, a failing device, a flush that does not reach the disk, a
// worker thread that cannot start or runs out of memory) and stops that come while files are written:
// the files written stay whole, no partial file stays, and the report counts exactly what was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <set>
#include <system_error>
#include <thread>

#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;
using platform::WriteCall;
using platform::WriteFault;

constexpr int kLive = 5;   // messages kept after duplicate removal
constexpr int kFreed = 2;  // freed messages

std::string Message(int i) { return testsupport::MakeMessage("m" + std::to_string(i), 900, static_cast<std::uint32_t>(i + 1)); }

// kLive live messages m0.. and kFreed freed ones behind them, then noise up to bytes.
void SaveStore(const fs::path& path, int freed = kFreed, std::int64_t bytes = 0) {
  testsupport::DbxWriter writer;
  for (int i = 0; i < kLive + freed; ++i) {
    const auto placed = writer.AppendMessage(Message(i));
    if (i >= kLive) writer.FreeMessage(placed);
  }
  if (bytes > writer.Size()) writer.AppendNoise(static_cast<std::size_t>(bytes - writer.Size()), 7);
  writer.Save(path);
}

RunOptions WithFaults(std::vector<WriteFault> faults, platform::WriteFaults::Observer observer = {}) {
  RunOptions options;
  options.WriteFaults = std::make_shared<platform::WriteFaults>(std::move(faults), std::move(observer));
  return options;
}

// Every file under folder, by its path relative to it.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.insert(platform::ToUtf8(fs::relative(entry.path(), folder).u16string()));
  return files;
}

struct FaultCase {
  const char* name;
  std::vector<WriteFault> faults;
  int written;  // live messages written
  int freed;    // freed messages written
  bool flushFailed;
  bool leftBehind;  // the working file could not be removed (written as where there are no unnamed files)
};

class WriteFailure : public ::testing::TestWithParam<FaultCase> {};

TEST_P(WriteFailure, KeepsWhatWasWrittenWholeAndCountsIt) {
  const FaultCase& c = GetParam();
  testsupport::TempFolder temp;
  SaveStore(temp.Path() / "store.dbx");
  testsupport::RecordingUi ui(temp.Path().u16string());
  RunOptions options = WithFaults(c.faults);
  // Only a working name can be left behind: where files are made unnamed, a failed one leaves nothing.
  if (c.leftBehind) options.WriteFaults->RefuseUnnamedFiles();
  RecoveryRun run(std::move(options));
  const testsupport::RunResult result = testsupport::RunRecovery(temp.Path() / "store.dbx", ui, run);

  EXPECT_EQ(result.outcome.result, RecoveryResult::WriteFailed);
  // The live files are the first messages, each whole; nothing else but the freed files stays.
  ASSERT_EQ(result.files.size(), static_cast<std::size_t>(c.written));
  for (int i = 0; i < c.written; ++i) EXPECT_EQ(result.files[i], Message(i)) << i;
  const std::set<std::string> files = FilesUnder(fs::path(result.outcome.outputFolder));
  const std::size_t freedFiles = c.freed > 0 ? static_cast<std::size_t>(c.freed) + 1 : 0;  // and the TSV
  EXPECT_EQ(files.size(), c.written + freedFiles + c.leftBehind) << testing::PrintToString(files);
  if (c.freed > 0) {
    const auto rows = testsupport::ReadFileBytes(fs::path(result.outcome.outputFolder) / u"削除済みメール" / u"復元レポート.tsv");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), c.freed + 1);
  }

  // A failed flush interrupted nothing.
  std::u16string report = c.flushFailed ? u"" : u"中断しました。";
  report += u"5通のメールが見つかりました。";
  if (c.written < kLive) report += u"5通のうち" + platform::FromUtf8(std::to_string(c.written)) + u"通を書き出しました。";
  if (c.freed < kFreed) report += u"削除済み領域の2通のうち" + platform::FromUtf8(std::to_string(c.freed)) + u"通を書き出しました。";
  if (c.freed > 0) report += Text(TextId::FreedCount, Language::Japanese, {platform::FromUtf8(std::to_string(c.freed))});
  if (c.flushFailed) report += Text(TextId::MayNotBeOnDisk, Language::Japanese);
  report += u"出力先フォルダをExplorerで開きますか？";
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages.back().text, report);
  // The warning names the file (or the folder, for the flush) and what the system said.
  const std::u16string& warning = ui.messages.front().text;
  EXPECT_NE(warning.find(c.flushFailed ? u"ディスク" : u"書き出しを中止"), std::u16string::npos);
  EXPECT_NE(warning.find(result.outcome.outputFolder), std::u16string::npos);
  EXPECT_EQ(warning.find(u"削除できませんでした。\r\n" + result.outcome.outputFolder) != std::u16string::npos, c.leftBehind);
}

const int kFull = platform::DiskFullCode();
const int kDevice = platform::DeviceErrorCode();

INSTANTIATE_TEST_SUITE_P(
    Output, WriteFailure,
    ::testing::Values(
        FaultCase{"DiskFullAtTheFirstFile", {{WriteCall::Create, 1, kFull}}, 0, 0, false, false},
        FaultCase{"DiskFullWritingTheThirdFile", {{WriteCall::Write, 3, kFull}}, 2, 0, false, false},
        FaultCase{"DiskFullCreatingTheFourthFile", {{WriteCall::Create, 4, kFull}}, 3, 0, false, false},
        FaultCase{"DeviceErrorWritingTheFirstFile", {{WriteCall::Write, 1, kDevice}}, 0, 0, false, false},
        FaultCase{"DeviceErrorNamingTheSecondFile", {{WriteCall::Rename, 2, kDevice}}, 1, 0, false, false},
        FaultCase{"ReadOnlyDiskLeavesTheThirdFileUnderItsWorkingName",
                  {{WriteCall::Write, 3, kDevice}, {WriteCall::Remove, 1, kDevice}}, 2, 0, false, true},
        // The freed phase: its report is the sixth file made, its first message the seventh.
        FaultCase{"DiskFullAtTheFreedReport", {{WriteCall::Create, kLive + 1, kFull}}, kLive, 0, false, false},
        FaultCase{"DiskFullWritingTheSecondFreedFile", {{WriteCall::Write, kLive + 4, kFull}}, kLive, 1, false, false},
        FaultCase{"DiskFullAddingTheSecondFreedRow", {{WriteCall::Write, kLive + 5, kFull}}, kLive, 1, false, false},
        FaultCase{"DeviceErrorOnTheFlush", {{WriteCall::Flush, 1, kDevice}}, kLive, kFreed, true, false}),
    [](const ::testing::TestParamInfo<FaultCase>& p) { return std::string(p.param.name); });

// VirtualBox shared folders and cloud drives mounted through FUSE have no unnamed files, no renames
// that refuse to replace and no hard links: every message still gets its name.
TEST(PlainRenamesOnly, EveryMessageIsWrittenUnderItsName) {
  testsupport::TempFolder temp;
  SaveStore(temp.Path() / "store.dbx", 0);
  testsupport::RecordingUi ui(temp.Path().u16string());
  RunOptions options = WithFaults({});
  options.WriteFaults->RefuseUnnamedFiles();
  options.WriteFaults->RefuseExclusiveRenames();
  RecoveryRun run(std::move(options));
  const testsupport::RunResult result = testsupport::RunRecovery(temp.Path() / "store.dbx", ui, run);

  EXPECT_EQ(result.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(FilesUnder(fs::path(result.outcome.outputFolder)),
            (std::set<std::string>{"m0.eml", "m1.eml", "m2.eml", "m3.eml", "m4.eml"}));
  ASSERT_EQ(result.files.size(), static_cast<std::size_t>(kLive));
  for (int i = 0; i < kLive; ++i) EXPECT_EQ(result.files[i], Message(i)) << i;
}

// Presses Stop, as the window's button or a Ctrl-C does, while the given file is in hand, and holds the
// writer there until the run has seen it: the first pump after sees the stop, the next comes once the
// writing was told.
platform::WriteFaults::Observer StopAtFile(testsupport::RecordingUi& ui, RecoveryRun*& run, int file) {
  auto pumps = std::make_shared<std::atomic<int>>(0);
  ui.onPump = [pumps] { ++*pumps; };
  return [pumps, &run, file](WriteCall call, int nth) {
    if (call != WriteCall::Create || nth != file) return;
    const int seen = *pumps;
    run->StopRequested = true;
    while (*pumps < seen + 2) std::this_thread::yield();
  };
}

struct StopCase {
  const char* name;
  bool stopDuringScan;  // a stop came during the scan as well
  bool quit;            // closing the window: no report is shown
};

class StopWhileWriting : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopWhileWriting, EndsAfterTheFileInHandAndCountsIt) {
  const StopCase& c = GetParam();
  testsupport::TempFolder temp;
  SaveStore(temp.Path() / "store.dbx");
  testsupport::RecordingUi ui(temp.Path().u16string());
  RecoveryRun* current = nullptr;
  const platform::WriteFaults::Observer stop = StopAtFile(ui, current, 2);
  if (c.stopDuringScan)
    ui.onPump = [&ui, inner = ui.onPump] {
      inner();
      if (ui.calls.back() == "caption lblStatus 5通のメールを抽出") ui.run->StopRequested = true;
    };
  RecoveryRun run(WithFaults({}, stop));
  current = &run;
  if (c.quit) run.QuitRequested = true;
  const testsupport::RunResult result = testsupport::RunRecovery(temp.Path() / "store.dbx", ui, run);

  EXPECT_EQ(result.outcome.result, RecoveryResult::Stopped);
  // The file in hand is finished, no other (nor the freed phase) is begun.
  EXPECT_EQ(result.files, (std::vector<std::string>{Message(0), Message(1)}));
  EXPECT_EQ(FilesUnder(fs::path(result.outcome.outputFolder)).size(), 2u);
  // The freed messages lie behind the live ones: a stop during the scan leaves them unfound.
  EXPECT_EQ(ReportText(result.outcome, Language::Japanese, false),
            u"中断しました。5通のメールが見つかりました。5通のうち2通を書き出しました。" +
                std::u16string(c.stopDuringScan ? u"" : u"削除済み領域の2通のうち0通を書き出しました。"));
  EXPECT_EQ(ui.messages.size(), c.quit ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Interruption, StopWhileWriting,
                         ::testing::Values(StopCase{"Stop", false, false}, StopCase{"CloseTheWindow", false, true},
                                           StopCase{"SecondStopAfterOneDuringTheScan", true, false}),
                         [](const ::testing::TestParamInfo<StopCase>& p) { return std::string(p.param.name); });

// A message cut away from the store since the scan found it gives no empty file: it stays unwritten,
// and the writing goes on.
TEST(StoreCutSinceTheScan, LeavesTheMessageUnwrittenRatherThanEmpty) {
  testsupport::TempFolder temp;
  const fs::path store = temp.Path() / "store.dbx";
  testsupport::DbxWriter writer;
  writer.AppendMessage(Message(0));
  writer.AppendNoise(200 * 1024, 7);  // past what the writer reads ahead
  const std::int64_t cut = writer.Size();
  // Too long to be read whole with their headers: the writer reads them after the cut.
  writer.AppendMessage(testsupport::MakeMessage("m1", 80 * 1024, 2));
  writer.AppendMessage(testsupport::MakeMessage("m2", 80 * 1024, 3));
  writer.Save(store);
  testsupport::RecordingUi ui(temp.Path().u16string());
  RecoveryRun run(WithFaults({}, [&](WriteCall call, int nth) {
    if (call == WriteCall::Create && nth == 1) fs::resize_file(store, static_cast<std::uintmax_t>(cut));
  }));
  const RecoveryOutcome outcome = RecoverMails(store.u16string(), run, ui);
  const std::set<std::string> files = FilesUnder(fs::path(outcome.outputFolder));
  ASSERT_EQ(files.size(), 1u);
  const auto bytes = testsupport::ReadFileBytes(fs::path(outcome.outputFolder) / *files.begin());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), Message(0));
  EXPECT_EQ(ReportText(outcome, Language::Japanese, false), u"3通のメールが見つかりました。3通のうち1通を書き出しました。");
}

// The n-th thread the run starts cannot be started, as when the system has no room for one more.
ThreadStart FailingStart(int n) {
  return [n, started = std::make_shared<int>(0)](std::function<void()> work) {
    if (++*started == n) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::thread(std::move(work));
  };
}

struct ThreadCase {
  const char* name;
  std::int64_t storeBytes;  // a store past the first window also starts the read-ahead
  int failingStart;  // 0: the writer's second create cannot allocate instead
  std::size_t written;
};

class WorkerFailure : public ::testing::TestWithParam<ThreadCase> {};

// The failure reaches the front end, which shows it as any failed run (the window's message box, the
// CLI's exit 1 with the reason); every thread was joined, and the files written stay.
TEST_P(WorkerFailure, ReachesTheCallerAfterEveryThreadEnded) {
  const ThreadCase& c = GetParam();
  testsupport::TempFolder temp;
  SaveStore(temp.Path() / "store.dbx", 0, c.storeBytes);
  testsupport::RecordingUi ui(temp.Path().u16string());
  RunOptions options = WithFaults({{WriteCall::Create, c.failingStart > 0 ? 0 : 2, platform::kAllocationFailure}});
  if (c.failingStart > 0) options.StartThread = FailingStart(c.failingStart);
  RecoveryRun run(options);
  EXPECT_ANY_THROW(RecoverMails((temp.Path() / "store.dbx").u16string(), run, ui));
  const auto files = FilesUnder(temp.Path());
  EXPECT_EQ(files.size(), 1 + c.written) << testing::PrintToString(files) << " (the store and the files)";
}

INSTANTIATE_TEST_SUITE_P(
    Threads, WorkerFailure,
    ::testing::Values(ThreadCase{"ReadAhead", 3 << 20, 1, 0}, ThreadCase{"Decider", 64 << 10, 1, 0},
                      ThreadCase{"Writer", 64 << 10, 2, 0}, ThreadCase{"Namer", 64 << 10, 3, 0},
                      ThreadCase{"AllocationInTheWriter", 64 << 10, 0, 1}),
    [](const ::testing::TestParamInfo<ThreadCase>& p) { return std::string(p.param.name); });

}  // namespace
