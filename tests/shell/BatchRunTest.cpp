// Runs over several stores from the window: every folder of a registry identity, and dropped stores.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MessageBoxAnswerer.h"
#include "ModalScript.h"
#include "RegistrySandbox.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "discovery/Identities.h"
#include "tests/support/DbxWriter.h"

namespace {

namespace fs = std::filesystem;
using Id = ControlId;

const std::vector<std::wstring> kStores = {L"受信トレイ", L"送信トレイ", L"送信済みアイテム", L"削除済みアイテム",
                                           L"下書き", L"仕事", L"趣味"};

// The status bar at the moment a timer looks during the run; the run's pump dispatches the timer.
struct Sighting {
  HWND window = nullptr;
  HWND proc = nullptr;
  HWND percent = nullptr;
  std::wstring seen;
};
Sighting* gSighting = nullptr;

void CALLBACK LookAtStatusBar(HWND, UINT, UINT_PTR, DWORD) {
  if (gSighting == nullptr || !gSighting->seen.empty() || !IsWindowVisible(gSighting->proc)) return;
  wchar_t percent[16] = {};
  GetWindowTextW(gSighting->percent, percent, 16);
  if (std::wstring(percent) == L"0%") return;
  wchar_t text[256] = {};
  GetWindowTextW(gSighting->proc, text, 256);
  gSighting->seen = text;
  SaveScreenshot(gSighting->window, L"main-window-all-folders-running");
}

class BatchRun : public WindowHarness {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp) / ("palvenor-batch-" + std::to_string(GetCurrentProcessId()) + "-" +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "out");
    fs::create_directories(folder_ / "store");
    for (std::size_t i = 0; i < kStores.size(); ++i) {
      testsupport::DbxWriter store;
      // The Inbox is large enough (30 MB) for the run to be seen going between the window's throttled pumps.
      const std::size_t messages = i == 0 ? 150 : i + 1;
      for (std::size_t m = 1; m <= messages; ++m) {
        store.AppendMessage(testsupport::MakeMessage("Message " + std::to_string(m), i == 0 ? 200000 : 600,
                                                     static_cast<std::uint32_t>(i * 1000 + m)));
      }
      store.Save(folder_ / "store" / (kStores[i] + L".dbx"));
    }
    std::string folderList = "\xCF\xAD\x12\xFE\xC6\xFD\x74\x6F";
    folderList.resize(4096, '\0');
    std::ofstream(folder_ / "store" / "Folders.dbx", std::ios::binary) << folderList;
    std::ofstream(folder_ / "store" / "Pop3uidl.dbx", std::ios::binary) << folderList;
  }
  void TearDown() override {
    WindowHarness::TearDown();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // The one run folder, and the folders in it.
  std::vector<std::wstring> Subfolders() const {
    std::vector<fs::path> runs;
    for (const auto& run : fs::directory_iterator(folder_ / "out")) runs.push_back(run.path());
    EXPECT_EQ(runs.size(), 1u);
    std::vector<std::wstring> names;
    if (runs.empty()) return names;
    for (const auto& sub : fs::directory_iterator(runs[0])) {
      EXPECT_TRUE(sub.is_directory());
      EXPECT_FALSE(fs::is_empty(sub.path())) << sub.path();
      names.push_back(sub.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(BatchRun, AllFoldersRecoversEveryStoreOfTheIdentityInOneRun) {
  RegistrySandbox registry;
  const std::wstring identity = L"Identities\\{A0000000-0000-0000-0000-000000000001}";
  registry.SetString(identity, L"Username", L"user1");
  registry.SetString(identity + L"\\Software\\Microsoft\\Outlook Express\\5.0", L"Store Root",
                     (folder_ / "store").wstring(), REG_EXPAND_SZ);
  registry.SetString(L"Identities", L"Start As", L"{A0000000-0000-0000-0000-000000000001}");
  users_ = DiscoverMailStores();
  Open();
  EXPECT_TRUE(Enabled(Id::optAll));
  Replace(Id::txtEMLFolder, (folder_ / "out").wstring());
  Click(Id::optAll);
  ASSERT_TRUE(Checked(Id::optAll));

  Sighting sighting{form_->Window(), Control(Id::lblProc), Control(Id::lblPercent), {}};
  gSighting = &sighting;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, LookAtStatusBar);
  const MessageBoxAnswerer answerer({IDNO});
  Click(Id::cmdStart);
  KillTimer(nullptr, timer);
  gSighting = nullptr;

  EXPECT_TRUE(runPaths_.empty()) << "the batch runs in the engine, not store by store through the window";
  std::vector<std::wstring> expected = kStores;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Subfolders(), expected);
  // The timer looks only when the run pumps: on a busy machine its first look may fall on a later store.
  const bool labelled = std::any_of(kStores.begin(), kStores.end(), [&](const std::wstring& store) {
    return sighting.seen.starts_with(store + L".dbx (") && sighting.seen.find(L"/7) ") != std::wstring::npos;
  });
  EXPECT_TRUE(labelled) << sighting.seen;
  ASSERT_EQ(answerer.Shown().size(), 1u);
  const std::wstring& report = answerer.Shown()[0].text;
  EXPECT_TRUE(answerer.Shown()[0].yesNo);
  EXPECT_TRUE(report.starts_with(L"受信トレイ.dbx: 150通、")) << report;
  EXPECT_NE(report.find(L"\r\n趣味.dbx: 7通、"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"\r\nFolders.dbx: メールを保存するファイルではないため、スキップしました。"), std::wstring::npos);
  EXPECT_NE(report.find(L"\r\nPop3uidl.dbx: メールを保存するファイルではないため、スキップしました。"), std::wstring::npos);
  EXPECT_NE(report.find(L"\r\n合計: 177通、"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"\r\n見つかったメールは［結果一覧］で確かめられます。\r\n"), std::wstring::npos) << report;
  EXPECT_EQ(Text(Id::lblProc), L"抽出中") << "the phase labels are given back their own captions";
  const ModalScript results([&] { return DialogOwnedBy(form_->Window()); }, [](HWND dialog) {
    const HWND list = GetDlgItem(dialog, static_cast<int>(ResultsControl::lvwMail));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 177) << "every store's rows, one list";
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  Click(Id::cmdResults);
  EXPECT_TRUE(results.Ran());
}

TEST_F(BatchRun, DroppingTwoStoresGivesTheSameLayout) {
  Open();
  Replace(Id::txtEMLFolder, (folder_ / "out").wstring());
  const MessageBoxAnswerer answerer({IDNO});
  const HDROP drop = MakeDrop({(folder_ / "store" / L"下書き.dbx").u16string(), (folder_ / "store" / L"仕事.dbx").u16string()});
  SendMessageW(form_->Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(Text(Id::txtDBXFile), L"2個のDBXファイル");
  EXPECT_TRUE(Checked(Id::optFolder));
  Click(Id::cmdStart);
  EXPECT_EQ(Subfolders(), (std::vector<std::wstring>{L"下書き", L"仕事"}));
  ASSERT_EQ(answerer.Shown().size(), 1u);
  EXPECT_TRUE(answerer.Shown()[0].text.starts_with(L"下書き.dbx: 5通、")) << answerer.Shown()[0].text;
}

}  // namespace
