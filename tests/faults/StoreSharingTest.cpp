// The store as the mail client may hold it while a run reads it: a run asks for reading only, so it
// goes on beside any holder that lets others read, and ends in its open message beside one that does not.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

struct Holder {
  const char* name;
  DWORD access;
  DWORD share;
  bool runCompletes;
};

class StoreSharing : public ::testing::TestWithParam<Holder> {};

TEST_P(StoreSharing, RunReadsBesideTheHolderOrReportsTheStore) {
  const Holder& holder = GetParam();
  testsupport::TempFolder temp;
  const fs::path store = temp.Path() / L"受信トレイ.dbx";
  testsupport::DbxWriter writer;
  const std::string message = testsupport::MakeMessage("held", 900);
  writer.AppendMessage(message);
  writer.Save(store);
  const testsupport::FileSnapshot before = testsupport::Snapshot(store);

  const HANDLE held = CreateFileW(store.c_str(), holder.access, holder.share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  testsupport::RecordingUi ui(temp.Path().u16string());
  RecoveryRun recoveryRun;
  const RecoveryOutcome outcome = RecoverMails(store.u16string(), recoveryRun, ui);
  CloseHandle(held);

  EXPECT_EQ(testsupport::Snapshot(store), before);
  ASSERT_FALSE(ui.messages.empty());
  if (holder.runCompletes) {
    EXPECT_EQ(outcome.result, RecoveryResult::Completed);
    EXPECT_EQ(outcome.messageCount, 1);
  } else {
    EXPECT_EQ(outcome.result, RecoveryResult::StoreOpenFailed);
    EXPECT_EQ(ui.messages[0].text, u"DBXファイルをオープンできませんでした。\r\n" + store.u16string());
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StoreSharing,
    ::testing::Values(
        // The mail client writing the store and letting others read and write it.
        Holder{"WriterSharingAll", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        // A reader that lets nobody write: only a run that asks for reading alone gets in.
        Holder{"ReaderDenyingWriters", GENERIC_READ, FILE_SHARE_READ, true},
        // Held exclusively.
        Holder{"Exclusive", GENERIC_READ | GENERIC_WRITE, 0, false}),
    [](const ::testing::TestParamInfo<Holder>& h) { return std::string(h.param.name); });

TEST(StoreSharing, ReadOnlyStoreIsRecovered) {
  testsupport::TempFolder temp;
  const fs::path store = temp.Path() / L"store.dbx";
  testsupport::DbxWriter writer;
  writer.AppendMessage(testsupport::MakeMessage("read-only", 900));
  writer.Save(store);
  ASSERT_TRUE(SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_READONLY));
  testsupport::RecordingUi ui(temp.Path().u16string());
  const auto run = testsupport::RunRecovery(store, ui);
  SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(run.outcome.result, RecoveryResult::Completed);
  EXPECT_EQ(run.files.size(), 1u);
}

}  // namespace
#endif
