// The ways to name a store besides the DBX box: no identity to offer, a dropped file, a path argument,
// and what the window shows of them.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
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

 private:
  std::filesystem::path folder_;
  std::filesystem::path file_;
};

// A drop as the shell makes it: DROPFILES followed by the wide paths, each ended by a NUL, and one
// more NUL. The window's DragFinish frees it.
HDROP MakeDrop(const std::vector<std::u16string>& paths) {
  std::u16string list;
  for (const std::u16string& path : paths) list += path + u'\0';
  list += u'\0';
  const std::size_t listBytes = list.size() * sizeof(char16_t);
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + listBytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), listBytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

struct Refusal {
  const char* what;
  std::vector<std::u16string> (*paths)(const ScratchStore& store);
  std::wstring messageStart;
};

const Refusal kRefusals[] = {
    {"two files", [](const ScratchStore& s) { return std::vector{s.File(), s.File()}; }, L"DBXファイルを1つだけ"},
    {"a missing file", [](const ScratchStore& s) { return std::vector{s.Missing()}; }, L"DBXファイルが見つかりません。"},
    {"a folder", [](const ScratchStore& s) { return std::vector{s.Folder()}; }, L"DBXファイルが見つかりません。"},
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

TEST_F(StoreNaming, AnythingButOneExistingFileIsRefused) {
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
