// A run over several stores: its folders, its end on a stop, and its report.
#include "engine/StoreBatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "engine/BatchReport.h"
#include "engine/runlist/RunListFile.h"
#include "platform/Utf.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

// One recording interface for the batch and one for each store; onStore acts on a store's run.
class RecordingBatchUi : public BatchUi {
 public:
  explicit RecordingBatchUi(const fs::path& parent) : overall(parent.u16string()) {}
  RecoveryUi& Overall() override { return overall; }
  RecoveryUi& ForStore(RecoveryRun& run, const StorePlace& place) override {
    places.push_back(StorePlaceText(place, Language::Japanese));
    stores.push_back(std::make_unique<testsupport::RecordingUi>());
    if (onStore) stores.back()->onPump = [this, &run] { onStore(run); };
    return *stores.back();
  }

  testsupport::RecordingUi overall;
  std::vector<std::unique_ptr<testsupport::RecordingUi>> stores;
  std::vector<std::u16string> places;
  std::function<void(RecoveryRun&)> onStore;
};

class StoreBatch : public ::testing::Test {
 protected:
  // listed, when given, is how many of the messages, from the first, a whole index lists.
  fs::path Store(const fs::path& name, int messages, std::optional<int> listed = std::nullopt) {
    testsupport::DbxWriter writer;
    std::vector<std::int64_t> records;
    for (int i = 0; i < messages; ++i) {
      const auto first = writer.AppendMessage(testsupport::MakeMessage("m" + std::to_string(i), 300, i)).blockOffsets[0];
      if (i < listed.value_or(0)) records.push_back(writer.AppendMessageInfo({first, "m", "f", 0, false}));
    }
    if (listed) writer.AppendIndex(records);
    const fs::path path = temp_.Path() / "stores" / name;
    fs::create_directories(path.parent_path());
    writer.Save(path);
    return path;
  }
  testsupport::TempFolder temp_;
};

TEST_F(StoreBatch, EachStoreGetsItsOwnRunAndFolderAndAStopEndsTheBatch) {
  std::vector<BatchStore> stores;
  for (const auto& [name, messages] : {std::pair{u"受信トレイ.dbx", 2}, {u"削除済みアイテム.dbx", 3}, {u"下書き.dbx", 1}})
    stores.push_back({Store(name, messages).u16string(), false, std::nullopt});
  for (const bool stop : {false, true}) {
    RecordingBatchUi ui(temp_.Path() / (stop ? "stopped" : "whole"));
    fs::create_directories(temp_.Path() / (stop ? "stopped" : "whole"));
    if (stop) ui.onStore = [&](RecoveryRun& run) { if (ui.stores.size() == 2) run.StopRequested = true; };
    const BatchOutcome batch = RecoverStores(stores, RunOptions{}, ui);
    EXPECT_EQ(batch.stopped, stop);
    EXPECT_EQ(ui.places.front(), u"受信トレイ.dbx (1/3)");
    EXPECT_EQ(ui.places.size(), stop ? 2u : 3u);
    EXPECT_EQ(batch.stores.at(2).fate, stop ? StoreFate::NotStarted : StoreFate::Recovered);
    EXPECT_TRUE(fs::exists(fs::path(batch.runFolder) / u"受信トレイ"));
    EXPECT_EQ(fs::exists(fs::path(batch.runFolder) / u"下書き"), !stop);
    EXPECT_TRUE(ui.overall.messages.empty()) << "the report is the caller's";
    const std::u16string report = BatchReportText(batch, Language::Japanese, true);
    EXPECT_EQ(report.starts_with(u"中断しました。\r\n"), stop) << platform::ToUtf8(report);
    EXPECT_EQ(report.find(u"下書き.dbx: 開始しませんでした。") != std::u16string::npos, stop);
    // The store the stop ended says how much of it was written, as a single run does.
    EXPECT_EQ(report.find(u"読めない箇所0か所。1通のうち0通を書き出しました。\r\n") != std::u16string::npos, stop)
        << platform::ToUtf8(report);
  }
}

TEST_F(StoreBatch, OneListAtTheTopCoversEveryStoreAndTheLinesCountTheDeletedMail) {
  const std::vector<BatchStore> stores{
      {Store(u"受信トレイ.dbx", 2, 1).u16string(), false, std::nullopt}, {Store(u"下書き.dbx", 1).u16string(), false, std::nullopt}};
  RecordingBatchUi ui(temp_.Path());
  const BatchOutcome batch = RecoverStores(stores, RunOptions{}, ui);
  platform::OsError error;
  const std::optional<RunList> list = ReadRunListFile(batch.runFolder, error);
  ASSERT_TRUE(list);
  std::vector<std::u16string> paths;
  for (const RunListRow& row : list->rows) paths.push_back(row.path);
  const std::u16string sep(1, platform::kPathSeparator);
  EXPECT_EQ(paths, (std::vector<std::u16string>{u"受信トレイ" + sep + u"m0.eml", u"受信トレイ" + sep + u"削除済みメール" + sep + u"m1.eml",
                                                u"下書き" + sep + u"m0.eml"}));
  EXPECT_NE(BatchReportText(batch, Language::Japanese, false).find(u"受信トレイ.dbx: 2通、削除済み領域から0通、途中で切れたもの0通、"
                                                                   u"読めない箇所0か所、削除されたメール1通、一覧にあって見つからないもの0通\n"),
            std::u16string::npos);
}

TEST_F(StoreBatch, FoldersDbxNamesAndNestsTheFoldersOrTheReportSaysItCouldNotBeRead) {
  for (const char* name : {"Inbox.dbx", "Work.dbx", "2003.dbx", "Other.dbx"}) Store(name, 1, 1);
  const struct {
    std::uint32_t localFoldersParent;  // 3 makes a cycle
    bool useIndex;
    std::vector<std::u16string> paths;  // the list's, in the batch's order
    std::u16string_view line;
    bool unreadable;
  } cases[] = {
      {0, true, {u"受信/m0.eml", u"受信/仕事/Old_Years/2003_/m0.eml", u"Other/m0.eml", u"受信/仕事/m0.eml"}, u"\n受信/仕事: 1通", false},
      {3, true, {u"Inbox/m0.eml", u"2003/m0.eml", u"Other/m0.eml", u"Work/m0.eml"}, u"\nWork.dbx: 1通", true},
      {0, false, {u"Inbox/m0.eml", u"2003/m0.eml", u"Other/m0.eml", u"Work/m0.eml"}, u"\nWork.dbx: 1通", false},
  };
  for (const auto& c : cases) {
    testsupport::DbxWriter folders;  // the Inbox now called 受信 holds 仕事, and that a folder whose store is gone
    folders.AppendFolderList({{0, 0xFFFFFFFF, "Outlook Express", ""}, {1, c.localFoldersParent, "Local Folders", ""},
                              {2, 1, "\x8e\xf3\x90\x4d", "Inbox.dbx"}, {3, 2, "\x8e\x64\x8e\x96", "Work.dbx"},
                              {5, 3, "Old/Years", "Gone.dbx"}, {6, 5, "2003.", "2003.dbx"}});
    folders.Save(temp_.Path() / "stores" / "Folders.dbx");
    platform::OsError error;
    RunOptions options;
    options.UseIndex = c.useIndex;
    RecordingBatchUi ui(temp_.Path());
    const BatchOutcome batch = RecoverStores(*FolderStores((temp_.Path() / "stores").u16string(), error), options, ui);
    std::vector<std::u16string> expected = c.paths, listed, written;
    for (std::u16string& path : expected) std::replace(path.begin(), path.end(), u'/', platform::kPathSeparator);
    const std::optional<RunList> list = ReadRunListFile(batch.runFolder, error);
    for (const RunListRow& row : list ? list->rows : std::vector<RunListRow>{}) listed.push_back(row.path);
    EXPECT_EQ(listed, c.useIndex ? expected : std::vector<std::u16string>{});
    for (const auto& file : fs::recursive_directory_iterator(batch.runFolder))
      if (file.path().extension() == ".eml") written.push_back(fs::relative(file.path(), batch.runFolder).u16string());
    std::sort(expected.begin(), expected.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, expected);
    std::u16string report = BatchReportText(batch, Language::Japanese, false);
    std::replace(report.begin(), report.end(), platform::kPathSeparator, u'/');
    EXPECT_NE(report.find(c.line), std::u16string::npos) << platform::ToUtf8(report);
    EXPECT_EQ(report.find(u"\nOutlook Expressのフォルダ一覧（Folders.dbx）を読み取れなかったため") != std::u16string::npos, c.unreadable);
  }
}

TEST_F(StoreBatch, AFlushThatFailsAfterTheLastStoreInterruptsNothing) {
  // The first store holds no mail and so flushes nothing: the first flush is the last store's.
  const std::vector<BatchStore> stores{{Store(u"受信トレイ.dbx", 0).u16string(), false, std::nullopt},
                                       {Store(u"下書き.dbx", 1).u16string(), false, std::nullopt}};
  RunOptions options;
  options.WriteFaults = std::make_shared<platform::WriteFaults>(
      std::vector<platform::WriteFault>{{platform::WriteCall::Flush, 1, platform::DeviceErrorCode()}});
  RecordingBatchUi ui(temp_.Path());
  const BatchOutcome batch = RecoverStores(stores, options, ui);
  EXPECT_EQ(batch.stores.at(1).outcome.result, RecoveryResult::WriteFailed);
  EXPECT_TRUE(batch.stores.at(1).outcome.flushFailed);
  EXPECT_FALSE(batch.stopped);
  EXPECT_FALSE(BatchReportText(batch, Language::Japanese, false).starts_with(u"中断しました。"));
}

TEST(BatchReportText, AListTooLongForAMessageBoxNamesTheStoresWithMailAndSumsUpTheRest) {
  BatchOutcome batch;
  for (int i = 0; i < 30; ++i) {
    StoreReport store{u"f" + platform::FromUtf8(std::to_string(i)) + u".dbx", StoreFate::Recovered, {}, {}};
    if (i == 7) store.outcome = {.messageCount = 5, .cutShortCount = 1, .freedCount = 2, .unreadableCount = 3};
    batch.stores.push_back(store);
  }
  batch.stores.push_back({u"Folders.dbx", StoreFate::Skipped, {}, {}});
  EXPECT_EQ(BatchReportText(batch, Language::Japanese, true),
            u"f7.dbx: 5通、削除済み領域から2通、途中で切れたもの1通、読めない箇所3か所\r\n"
            u"ほかの30個のファイルからはメールが見つかりませんでした。\r\n"
            u"合計: 5通、削除済み領域から2通、途中で切れたもの1通、読めない箇所3か所\r\n"
            u"出力先フォルダをExplorerで開きますか？");
  const std::u16string full = BatchReportText(batch, Language::English, false);
  EXPECT_NE(full.find(u"f29.dbx: 0 messages"), std::u16string::npos);
  EXPECT_NE(full.find(u"Folders.dbx: skipped"), std::u16string::npos);
  EXPECT_EQ(full.find(u"Open the output folder"), std::u16string::npos);
}

}  // namespace
