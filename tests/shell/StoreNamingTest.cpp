// The ways to name a store besides the DBX box: no identity to offer, a dropped file, a path argument,
// and what the window shows of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MessageBoxAnswerer.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "discovery/Identities.h"
#include "platform/win32/Wide.h"
#include "shell/StorePaths.h"

namespace {

using Id = ControlId;
using platform::win32::Wide;

// A scratch folder with one store file in it, removed with everything in it.
class ScratchStore {
 public:
  ScratchStore() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / (L"palvenor-naming-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    file_ = folder_ / L"受信トレイ.dbx";
    std::ofstream(file_) << "store";
    std::ofstream(folder_ / L"notes.txt") << "notes";
  }
  ScratchStore(const ScratchStore&) = delete;
  ScratchStore& operator=(const ScratchStore&) = delete;
  ~ScratchStore() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::u16string File() const { return file_.u16string(); }
  std::u16string Folder() const { return folder_.u16string(); }
  std::u16string Missing() const { return (folder_ / L"missing.dbx").u16string(); }
  std::u16string Notes() const { return (folder_ / L"notes.txt").u16string(); }

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

struct Refusal {
  const char* what;
  std::vector<std::u16string> (*paths)(const ScratchStore& store);
  std::wstring messageStart;
};

const Refusal kRefusals[] = {
    {"a file that is not a store among several", [](const ScratchStore& s) { return std::vector{s.File(), s.Notes()}; },
     L"DBXファイル以外のファイルは指定できません。"},
    {"a missing file", [](const ScratchStore& s) { return std::vector{s.Missing()}; }, L"DBXファイルが見つかりません。"},
    {"a missing one among several", [](const ScratchStore& s) { return std::vector{s.File(), s.Missing()}; },
     L"DBXファイルが見つかりません。"},
    {"a folder with a file", [](const ScratchStore& s) { return std::vector{s.Folder(), s.File()}; },
     L"フォルダは1つだけ"},
};

using StoreNaming = WindowHarness;

TEST_F(StoreNaming, WithoutAnIdentityTheFolderOptionIsTheOnlyOne) {
  users_.UserNames = {u""};
  users_.StoreFolders = {u""};
  users_.CurrentUserIndex = 0;
  Open();
  EXPECT_EQ(Text(Id::optDefault), L"受信トレイ(&R)");
  EXPECT_FALSE(Enabled(Id::optDefault));
  EXPECT_FALSE(Checked(Id::optDefault));
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Enabled(Id::cmdStart)) << "Start waits for a DBX file";
  SaveScreenshot(form_->Window(), L"main-window-without-identity");

  Type(Id::txtDBXFile, L"D:\\old.dbx");
  Click(Id::cmdStart);
  ASSERT_EQ(runPaths_.size(), 1u);
  EXPECT_EQ(runPaths_[0], u"D:\\old.dbx");
}

TEST_F(StoreNaming, ADroppedFileFillsTheBoxAndSelectsTheFolderOption) {
  const ScratchStore store;
  Open();
  const MessageBoxAnswerer answerer;
  SendMessageW(form_->Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({store.File()})), 0);
  EXPECT_TRUE(answerer.Shown().empty());
  EXPECT_EQ(Text(Id::txtDBXFile), Wide(store.File()));
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Checked(Id::optDefault));
  Click(Id::cmdStart);
  ASSERT_EQ(runPaths_.size(), 1u);
  EXPECT_EQ(runPaths_[0], store.File());
}

TEST_F(StoreNaming, WhatCannotBeAStoreOrABatchIsRefused) {
  const ScratchStore store;
  Open();
  for (const Refusal& refusal : kRefusals) {
    for (const bool dropped : {true, false}) {
      const MessageBoxAnswerer answerer;
      if (dropped) {
        SendMessageW(form_->Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(refusal.paths(store))), 0);
      } else {
        form_->OfferDbxFiles(refusal.paths(store));
      }
      ASSERT_EQ(answerer.Shown().size(), 1u) << refusal.what;
      EXPECT_EQ(answerer.Shown()[0].caption, L"Palvenor");
      EXPECT_TRUE(answerer.Shown()[0].text.starts_with(refusal.messageStart)) << refusal.what;
      EXPECT_EQ(Text(Id::txtDBXFile), L"") << refusal.what;
      EXPECT_TRUE(Checked(Id::optDefault)) << refusal.what;
    }
  }
}

TEST_F(StoreNaming, TheDefaultStoreIsTheJapaneseInboxOrElseTheEnglishOne) {
  const ScratchStore store;
  const std::filesystem::path english = std::filesystem::path(store.Folder()) / L"english";
  std::filesystem::create_directories(english);
  std::ofstream(english / L"Inbox.dbx") << "store";
  const std::filesystem::path none = std::filesystem::path(store.Folder()) / L"none";
  std::filesystem::create_directories(none);
  const struct {
    std::u16string folder;
    std::u16string run;  // empty: no default choice
  } cases[] = {
      {store.Folder(), store.File()},
      {english.u16string(), (english / L"Inbox.dbx").u16string()},
      {none.u16string(), u""},
  };
  for (const auto& c : cases) {
    users_ = UserList{{u"user1"}, {c.folder}, 0, u"C:\\Docs"};
    createInboxes_ = false;
    Open();
    EXPECT_EQ(Enabled(Id::optDefault), !c.run.empty());
    EXPECT_EQ(Enabled(Id::optAll), !c.run.empty());
    EXPECT_EQ(Text(Id::optDefault), L"user1の受信トレイ(&R)");
    if (!c.run.empty()) {
      Click(Id::cmdStart);
      ASSERT_FALSE(runPaths_.empty());
      EXPECT_EQ(runPaths_.back(), c.run);
    }
    form_.reset();
  }
}

TEST_F(StoreNaming, SeveralPathsTravelToTheRunningWindowIntact) {
  const std::vector<std::u16string> paths{u"C:\\a.dbx", u"D:\\b c\\受信トレイ.dbx", u"e.dbx"};
  EXPECT_EQ(JoinedStorePaths(JoinStorePaths(paths)), paths);
  EXPECT_EQ(JoinedStorePaths(JoinStorePaths({u"C:\\one.dbx"})), std::vector<std::u16string>{u"C:\\one.dbx"});
}

TEST_F(StoreNaming, CommandLineArgumentsAfterTheProgramAreThePaths) {
  struct Case {
    const wchar_t* commandLine;
    std::vector<std::u16string> paths;
  };
  const Case cases[] = {
      {L"Palvenor.exe", {}},
      {L"\"C:\\Program Files\\Palvenor.exe\" \"D:\\old mail\\受信トレイ.dbx\"", {u"D:\\old mail\\受信トレイ.dbx"}},
      {L"Palvenor.exe a.dbx b.dbx", {u"a.dbx", u"b.dbx"}},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLinePaths(c.commandLine), c.paths) << c.commandLine;
}

TEST_F(StoreNaming, LongPathsShowTheirEnd) {
  const std::u16string longFolder = u"C:\\" + std::u16string(300, u'x') + u"\\出力先";
  for (const std::u16string& folder : {longFolder, std::u16string(u"C:\\Docs")}) {
    users_.DocumentsFolder = folder;
    Open();
    const auto firstShown = SendMessageW(Control(Id::txtEMLFolder), EM_GETFIRSTVISIBLELINE, 0, 0);
    if (folder == longFolder) {
      EXPECT_GT(firstShown, 0) << "the beginning scrolled out of sight";
      // The user looks at the drive, then leaves the box: it shows the file name again.
      SetFocus(Control(Id::txtEMLFolder));
      SendMessageW(Control(Id::txtEMLFolder), EM_SETSEL, 0, 0);
      SendMessageW(Control(Id::txtEMLFolder), EM_SCROLLCARET, 0, 0);
      EXPECT_EQ(SendMessageW(Control(Id::txtEMLFolder), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
      SetFocus(Control(Id::chkPointer));
      EXPECT_GT(SendMessageW(Control(Id::txtEMLFolder), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "after leaving the box";
    } else {
      EXPECT_EQ(firstShown, 0);
    }
    form_.reset();
  }
}

TEST_F(StoreNaming, EveryCheckBoxExplainsItselfInATooltip) {
  Open();
  int checkBoxes = 0;
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    if ((design.style & BS_TYPEMASK) != BS_AUTOCHECKBOX || std::wstring_view(design.className) != L"BUTTON") continue;
    ++checkBoxes;
    EXPECT_FALSE(form_->TooltipText(design.id).empty()) << static_cast<int>(design.id);
  }
  EXPECT_GE(checkBoxes, 1);
  EXPECT_NE(form_->TooltipText(Id::chkPointer).find(u"ディスクイメージ"), std::u16string::npos);
  EXPECT_TRUE(form_->TooltipText(Id::txtDBXFile).empty());
}

}  // namespace
