// A store the user may not read and an output folder the user may not write: each ends in its own
// message before anything is written, and a read-only store is all a run needs.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "engine/RecoveryRun.h"
#include "platform/Utf.h"
#include "tests/faults/OrdinaryUser.h"
#include "tests/support/DbxWriter.h"
#include "tests/support/RecoveryRun.h"

namespace {

namespace fs = std::filesystem;

struct PermissionCase {
  const char* name;
  mode_t storeMode;
  mode_t parentMode;
  RecoveryResult result;
  std::u16string firstMessage;  // the run's first message box; "{store}" stands for the store's path
  MessageIcon icon;
};

std::u16string Expand(std::u16string text, const std::u16string& store, const std::u16string& parent) {
  if (const auto at = text.find(u"{store}"); at != std::u16string::npos) text.replace(at, 7, store);
  if (const auto at = text.find(u"{parent}"); at != std::u16string::npos) text.replace(at, 8, parent);
  return text;
}

// A message up to the output folder's name, whose date and time vary.
std::u16string UpToTheFolderName(const std::u16string& text) {
  const std::u16string name = u"メール復元";
  const auto at = text.find(name);
  return at == std::u16string::npos ? text : text.substr(0, at + name.size());
}

class Permissions : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(Permissions, EndInTheirMessageAndLeaveTheStoreAsItWas) {
  const PermissionCase& c = GetParam();
  testsupport::TempFolder temp;
  faulttest::OpenToOthers(temp.Path().string());
  const fs::path store = temp.Path() / "受信トレイ.dbx";
  const fs::path parent = temp.Path() / "out";
  testsupport::DbxWriter writer;
  const std::string message = testsupport::MakeMessage("権限", 900);
  writer.AppendMessage(message);
  writer.Save(store);
  fs::create_directory(parent);
  ::chmod(store.c_str(), c.storeMode);
  ::chmod(parent.c_str(), c.parentMode);
  const testsupport::FileSnapshot before = testsupport::Snapshot(store);

  const auto child = faulttest::RunAsOrdinaryUser([&] {
    testsupport::RecordingUi ui(parent.u16string());
    RecoveryRun recoveryRun;
    const RecoveryOutcome outcome = RecoverMails(store.u16string(), recoveryRun, ui);
    const std::u16string first = ui.messages.empty() ? u"" : UpToTheFolderName(ui.messages[0].text);
    return std::to_string(static_cast<int>(outcome.result)) + "\n" +
           std::to_string(ui.messages.empty() ? -1 : static_cast<int>(ui.messages[0].icon)) + "\n" +
           platform::ToUtf8(first);
  });
  ::chmod(parent.c_str(), 0755);
  if (!child.result && child.noOrdinaryUser) GTEST_SKIP() << child.whyNot;
  ASSERT_TRUE(child.result) << child.whyNot;

  const std::string expected = std::to_string(static_cast<int>(c.result)) + "\n" +
                               std::to_string(static_cast<int>(c.icon)) + "\n" +
                               platform::ToUtf8(Expand(c.firstMessage, store.u16string(), parent.u16string()));
  EXPECT_EQ(*child.result, expected);
  EXPECT_EQ(testsupport::Snapshot(store), before);
  const auto written = std::distance(fs::directory_iterator(parent), {});
  EXPECT_EQ(written, c.result == RecoveryResult::Completed ? 1 : 0) << "output folders made";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Permissions,
    ::testing::Values(
        PermissionCase{"UnreadableStore", 0000, 0777, RecoveryResult::StoreOpenFailed,
                       u"DBXファイルをオープンできませんでした。\r\n{store}", MessageIcon::Exclamation},
        PermissionCase{"ReadOnlyOutputParent", 0444, 0555, RecoveryResult::FolderCreateFailed,
                       u"出力先フォルダの作成に失敗しました。\r\n{parent}/メール復元", MessageIcon::Critical},
        PermissionCase{"ReadOnlyStoreIsEnough", 0444, 0777, RecoveryResult::Completed,
                       u"1通のメールが見つかりました。出力先フォルダをExplorerで開きますか？", MessageIcon::Question}),
    [](const ::testing::TestParamInfo<PermissionCase>& c) { return std::string(c.param.name); });

}  // namespace
#endif
