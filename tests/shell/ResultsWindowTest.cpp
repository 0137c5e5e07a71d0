// The results window after a real run: the report points to it, and it sorts, filters, searches and
// previews the run's list.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MessageBoxAnswerer.h"
#include "ModalScript.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "platform/win32/Wide.h"
#include "shell/resource.h"
#include "tests/support/DbxWriter.h"

namespace {

namespace fs = std::filesystem;
using Id = ControlId;
using testsupport::MakeMessage;

constexpr std::uint64_t kLostTime = 126632176770000000;  // 2002-04-14 00:27:57 UTC
constexpr char kIso2022Jp[] =
    "From: taro@example.jp\r\nTo: hanako@example.jp\r\nSubject: =?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?=\r\n"
    "Date: Mon, 15 Apr 2002 10:00:00 +0900\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\n\r\n"
    "\x1b$B$3$s$K$A$O!\";3ED$G$9!#\x1b(B\r\n";
constexpr char kHtmlOnly[] =
    "From: news@shop.example\r\nTo: taro@example.jp\r\nSubject: Spring sale\r\nDate: Tue, 16 Apr 2002 09:30:00 +0900\r\n"
    "MIME-Version: 1.0\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n"
    "<html><body><p>Everything is <b>half</b> price.</p></body></html>\r\n";

std::wstring Suffix(Language language) { return language == Language::English ? L"-english" : L"-japanese"; }

class ResultsWindow : public WindowHarness, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp) / ("palvenor-results-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "out");
    // Listed, deleted (an orphan), freed, and listed but overwritten (missing).
    testsupport::DbxWriter store;
    std::vector<std::int64_t> records;
    const auto listed = [&](const std::string& message, const char* sender) {
      const std::int64_t first = store.AppendMessage(message).blockOffsets.front();
      records.push_back(store.AppendMessageInfo({first, "s", sender, kLostTime, false}));
    };
    listed(kIso2022Jp, "taro@example.jp");
    listed(kHtmlOnly, "news@shop.example");
    store.AppendMessage(MakeMessage("orphan", 700, 3));
    std::string freed = MakeMessage("freed", 700, 4);
    freed.replace(freed.find("6 Jul"), 5, "7 Jul");
    store.FreeMessage(store.AppendMessage(freed));
    records.push_back(store.AppendMessageInfo({store.AppendNoise(1200, 7), "lost", "someone@example.com", kLostTime, false}));
    store.AppendIndex(records, 2);
    store.Save(folder_ / "Inbox.dbx");
  }
  void TearDown() override {
    WindowHarness::TearDown();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path folder_;
};

HWND Item(HWND dialog, ResultsControl id) { return GetDlgItem(dialog, static_cast<int>(id)); }

std::vector<std::wstring> Subjects(HWND list) {
  std::vector<std::wstring> subjects;
  for (int i = 0; i < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++i) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = static_cast<int>(ResultColumn::Subject);
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    subjects.emplace_back(text);
  }
  return subjects;
}

void ClickColumn(HWND dialog, ResultColumn column) {
  NMLISTVIEW click{};
  click.hdr = {Item(dialog, ResultsControl::lvwMail), static_cast<UINT_PTR>(ResultsControl::lvwMail), LVN_COLUMNCLICK};
  click.iItem = -1;
  click.iSubItem = static_cast<int>(column);
  SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

void Select(HWND list, int item) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

TEST_P(ResultsWindow, SortsFiltersSearchesAndPreviewsTheRunsList) {
  language_ = GetParam();
  OpenWith([](const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui) { RecoverMails(dbxPath, run, ui); });
  Click(Id::optFolder);
  Replace(Id::txtDBXFile, (folder_ / "Inbox.dbx").wstring());
  Replace(Id::txtEMLFolder, (folder_ / "out").wstring());
  ASSERT_FALSE(Enabled(Id::cmdResults));
  const MessageBoxAnswerer answerer({IDNO});
  Click(Id::cmdStart);
  ASSERT_EQ(answerer.Shown().size(), 1u);
  const std::wstring hint = platform::win32::Wide(::Text(TextId::ResultsHint, language_));
  EXPECT_NE(answerer.Shown()[0].text.find(hint), std::wstring::npos);
  EXPECT_TRUE(Enabled(Id::cmdResults));
  EXPECT_TRUE(MenuItemEnabled(IDM_FILE_RESULTS));
  EXPECT_EQ(GetFocus(), Control(Id::cmdResults)) << "Enter opens the list once the report is read";

  const std::wstring ascending[] = {L"lost", L"会議のお知らせ", L"Spring sale", L"orphan", L"freed"};
  const struct {
    ResultFilter filter;
    const wchar_t* search;
    bool clickDate;  // the date column's header is clicked: the other way round
    std::vector<std::wstring> subjects;
    int selected;
    const wchar_t* previewed;  // found in the preview of the selected row
    const wchar_t* screenshot;
  } steps[] = {
      {ResultFilter::All, L"", false, {std::begin(ascending), std::end(ascending)}, 0, L"someone@example.com", L"results"},
      {ResultFilter::All, L"", true, {std::rbegin(ascending), std::rend(ascending)}, 3, L"こんにちは、山田です。",
       L"results-iso-2022-jp"},
      {ResultFilter::DeletedOnly, L"", false, {L"freed", L"orphan"}, 0, L"freed", L"results-deleted"},
      {ResultFilter::Missing, L"", false, {L"lost"}, 0, L"lost", nullptr},
      {ResultFilter::All, L"SALE", false, {L"Spring sale"}, 0, L"Everything is half price.", L"results-html"},
      {ResultFilter::All, L"taro@", false, {L"会議のお知らせ"}, 0, L"hanako@example.jp", nullptr},
  };
  const ModalScript results([&] { return DialogOwnedBy(form_->Window()); }, [&](HWND dialog) {
    const HWND list = Item(dialog, ResultsControl::lvwMail);
    const HWND preview = Item(dialog, ResultsControl::txtPreview);
    for (const auto& step : steps) {
      SCOPED_TRACE(testing::Message() << "step " << &step - steps);
      SendMessageW(Item(dialog, ResultsControl::cmbShow), CB_SETCURSEL, static_cast<WPARAM>(step.filter), 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<int>(ResultsControl::cmbShow), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Item(dialog, ResultsControl::cmbShow)));
      SetWindowTextW(Item(dialog, ResultsControl::txtSearch), step.search);
      if (step.clickDate) ClickColumn(dialog, ResultColumn::Date);
      EXPECT_EQ(Subjects(list), step.subjects);
      Select(list, step.selected);
      EXPECT_NE(TextOf(preview).find(step.previewed), std::wstring::npos) << "the preview shows what the row holds";
      if (step.screenshot) SaveScreenshot(dialog, step.screenshot + Suffix(language_));
    }
    SendMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(ResultsCommand::CopySubject), 0);
    EXPECT_TRUE(OpenClipboard(dialog));
    const HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(copied)), L"会議のお知らせ");
    GlobalUnlock(copied);
    CloseClipboard();
    // No program opens .eml files here: one line in the preview says so, and no box comes.
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(TextOf(preview).rfind(platform::win32::Wide(::Text(WindowText::NoProgramForEml, language_)), 0), 0u);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  form_->TranslateDialogKeys(enter);
  EXPECT_TRUE(results.Ran());
  // The answerer sees every dialog: the report, then the results window; no error box.
  ASSERT_EQ(answerer.Shown().size(), 2u);
  EXPECT_EQ(answerer.Shown()[1].caption, platform::win32::Wide(::Text(WindowText::ResultsCaption, language_)));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ResultsWindow, ::testing::Values(Language::Japanese, Language::English));

}  // namespace
