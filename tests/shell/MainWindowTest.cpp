#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <vector>
#include <string_view>

#include "MessageBoxAnswerer.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "discovery/Identities.h"
#include "shell/resource.h"
#include "win32ui/Twips.h"

namespace {

using Id = ControlId;
using MainWindow = WindowHarness;

TEST_F(MainWindow, OpensAtRestAsDesigned) {
  const frmMain& form = Open();
  wchar_t caption[64] = {};
  GetWindowTextW(form.Window(), caption, 64);
  EXPECT_STREQ(caption, L"Palvenor");
  EXPECT_EQ(GetWindow(form.Window(), GW_OWNER), application_->Handle());
  EXPECT_EQ(Text(Id::optDefault), L"user2の受信トレイ(&R)");
  EXPECT_TRUE(Checked(Id::optDefault));
  EXPECT_FALSE(Checked(Id::optFolder));
  EXPECT_FALSE(Checked(Id::chkPointer));
  EXPECT_TRUE(Checked(Id::chkFreed));
  EXPECT_EQ(Text(Id::txtEMLFolder), L"C:\\Docs");
  EXPECT_EQ(Text(Id::txtDBXFile), L"");
  EXPECT_EQ(Text(Id::lblMessage), L"");
  EXPECT_TRUE(Enabled(Id::cmdStart));
  for (const Id shown : {Id::lblMessage, Id::cmdStart, Id::picFrame, Id::Label4}) EXPECT_TRUE(Visible(shown));
  for (const Id hidden : {Id::lblProc, Id::lblRename, Id::prgStatus, Id::lblPercent, Id::lblStatus, Id::cmdStop}) {
    EXPECT_FALSE(Visible(hidden));
  }
  EXPECT_TRUE(MenuItemEnabled(IDM_FILE_EXIT));
  EXPECT_TRUE(MenuItemEnabled(IDM_HELP_HELP));
  EXPECT_TRUE(MenuItemEnabled(IDM_HELP_ABOUT));

  // 9390 x 5895 twips at 15 twips per pixel.
  RECT client{};
  GetClientRect(form.Window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kMainWindowWidthTwips, GetDpiForWindow(form.Window())));
  EXPECT_EQ(client.bottom, TwipsToPixels(kMainWindowHeightTwips, GetDpiForWindow(form.Window())));
  if (GetDpiForWindow(form.Window()) == 96) {
    EXPECT_EQ(client.right, 626);
  }
  // Centred on the screen's work area.
  RECT frame{};
  GetWindowRect(form.Window(), &frame);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1);
  SaveScreenshot(form.Window(), L"main-window-at-rest");
}

TEST_F(MainWindow, CaptionsAndTabOrderFollowTheDesign) {
  Open();
  // Creation order is the tab order: each control's predecessor in its container is the previous one.
  HWND previous = nullptr;
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    const HWND control = Control(design.id);
    ASSERT_NE(control, nullptr);
    if (design.container != ControlId::None && previous != nullptr && GetParent(previous) == GetParent(control)) {
      EXPECT_EQ(GetWindow(control, GW_HWNDPREV), previous) << static_cast<int>(design.id);
    }
    // Form_Load puts the user's name into optDefault; every other button keeps its design caption.
    if (std::wstring_view(design.className) == L"BUTTON" && design.id != Id::optDefault) {
      EXPECT_EQ(Text(design.id), platform::win32::Wide(::Text(design.caption, Language::Japanese)));
    }
    previous = control;
  }
  EXPECT_EQ(Text(Id::Label5), L"２．EMLファイルの出力先のフォルダを指定してください。(&E)");
  EXPECT_EQ(Text(Id::chkPointer), L"ポインターの正当性チェックを行わない。(&P)");
  EXPECT_EQ(Text(Id::chkFreed), L"削除済み領域のメールも復元する(&D)");
  EXPECT_EQ(Text(Id::optFolder), L"以下に指定するフォルダ（DBXファイル）(&F)");
  EXPECT_EQ(Text(Id::lblRename), L"ﾘﾈｰﾑ中");
  const HMENU menu = GetMenu(form_->Window());
  wchar_t item[64] = {};
  GetMenuStringW(menu, 0, item, 64, MF_BYPOSITION);
  EXPECT_STREQ(item, L"ファイル(&F)");
  GetMenuStringW(menu, 1, item, 64, MF_BYPOSITION);
  EXPECT_STREQ(item, L"ヘルプ(&H)");
  GetMenuStringW(menu, IDM_FILE_EXIT, item, 64, MF_BYCOMMAND);
  EXPECT_STREQ(item, L"終了(&X)");
  GetMenuStringW(menu, IDM_HELP_HELP, item, 64, MF_BYCOMMAND);
  EXPECT_STREQ(item, L"トピックの検索(&H)...");
  GetMenuStringW(menu, IDM_HELP_ABOUT, item, 64, MF_BYCOMMAND);
  EXPECT_STREQ(item, L"バージョン情報(&A)...");
}

TEST_F(MainWindow, AnEmptyUserNameLeavesTheBareInboxCaption) {
  users_.UserNames = {u""};
  users_.StoreFolders = {u"C:\\Mail"};
  users_.CurrentUserIndex = 0;
  Open();
  EXPECT_EQ(Text(Id::optDefault), L"受信トレイ(&R)");
  EXPECT_TRUE(Enabled(Id::optDefault));
  EXPECT_TRUE(Checked(Id::optDefault));
}

TEST_F(MainWindow, StartRuleFollowsOptionAndTexts) {
  Open();
  const auto check = [this](const char* action, bool expected) {
    EXPECT_EQ(Enabled(Id::cmdStart), expected) << "after " << action;
  };
  Click(Id::optFolder);
  check("optFolder with an empty DBX box", false);
  Type(Id::txtDBXFile, L"x");
  check("typing one character", true);
  Replace(Id::txtDBXFile, L"");
  check("clearing the DBX box", false);
  Click(Id::optDefault);
  check("optDefault with an empty DBX box", true);
  Replace(Id::txtEMLFolder, L"");
  check("clearing the output folder under optDefault", false);
  Click(Id::optFolder);
  Replace(Id::txtDBXFile, L"C:\\a.dbx");
  check("clearing the output folder under optFolder", false);
  Replace(Id::txtEMLFolder, L" ");
  check("blanks count as a folder", true);
  Replace(Id::txtDBXFile, L"  ");
  check("blanks count as a DBX path", true);
  Replace(Id::txtEMLFolder, L"C:\\Out");
  Click(Id::optDefault);
  check("optDefault with both texts", true);
}

TEST_F(MainWindow, StartRuleTableOverEveryCombination) {
  Open();
  struct Case {
    bool folderOption;
    const wchar_t* dbx;
    const wchar_t* eml;
    bool enabled;
  };
  const Case cases[] = {
      {false, L"", L"", false},       {false, L"", L"C:\\Out", true},   {false, L"a", L"", false},
      {false, L"a", L"C:\\Out", true}, {true, L"", L"", false},          {true, L"", L"C:\\Out", false},
      {true, L"a", L"", false},        {true, L"a", L"C:\\Out", true},   {true, L" ", L" ", true},
  };
  for (const Case& c : cases) {
    Replace(Id::txtDBXFile, c.dbx);
    Replace(Id::txtEMLFolder, c.eml);
    Click(c.folderOption ? Id::optFolder : Id::optDefault);
    EXPECT_EQ(Enabled(Id::cmdStart), c.enabled) << c.folderOption << " [" << c.dbx << "] [" << c.eml << "]";
  }
}

TEST_F(MainWindow, EmptyDocumentsFolderOpensWithStartEnabledUntilTheRuleRuns) {
  users_.DocumentsFolder = u"";
  Open();
  EXPECT_EQ(Text(Id::txtEMLFolder), L"");
  EXPECT_TRUE(Enabled(Id::cmdStart));
  Click(Id::optDefault);
  EXPECT_FALSE(Enabled(Id::cmdStart));
}

TEST_F(MainWindow, FocusInTheTextBoxesShowsHints) {
  Open();
  SetFocus(Control(Id::txtDBXFile));
  EXPECT_EQ(Text(Id::lblMessage), L"DBXファイルを指定します。");
  SetFocus(Control(Id::chkPointer));
  EXPECT_EQ(Text(Id::lblMessage), L"");
  SetFocus(Control(Id::txtEMLFolder));
  EXPECT_EQ(Text(Id::lblMessage), L"EMLファイルの出力先を指定します。");
  SetFocus(Control(Id::cmdFindEML));
  EXPECT_EQ(Text(Id::lblMessage), L"");
}

TEST_F(MainWindow, AccessKeysEnterAndEscReachTheirControls) {
  frmMain& form = Open();
  const auto press = [&](UINT message, WPARAM key) {
    MSG msg{GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
    return form.TranslateDialogKeys(msg);
  };
  SetFocus(Control(Id::chkPointer));
  EXPECT_TRUE(press(WM_SYSCHAR, L'e'));
  EXPECT_EQ(GetFocus(), Control(Id::txtEMLFolder)) << "Alt+E on Label5 moves to the output folder box";
  EXPECT_TRUE(press(WM_SYSCHAR, L'p'));
  EXPECT_TRUE(Checked(Id::chkPointer));
  EXPECT_TRUE(press(WM_SYSCHAR, L'd'));
  EXPECT_FALSE(Checked(Id::chkFreed));
  EXPECT_TRUE(press(WM_SYSCHAR, L'f'));
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Enabled(Id::cmdStart)) << "selecting optFolder by its key runs the Start rule";
  EXPECT_TRUE(press(WM_SYSCHAR, L'r'));
  EXPECT_TRUE(Checked(Id::optDefault));
  SetFocus(Control(Id::txtEMLFolder));
  EXPECT_TRUE(press(WM_KEYDOWN, VK_RETURN));
  EXPECT_EQ(runPaths_.size(), 1u) << "Enter presses the default button";
}

TEST_F(MainWindow, FreedBoxKeyClashesWithNoControlAndNoMenu) {
  Open();
  const auto keyOf = [](std::wstring_view text) {
    const std::size_t amp = text.find(L'&');
    return amp == std::wstring_view::npos || amp + 1 >= text.size() ? L'\0' : static_cast<wchar_t>(towupper(text[amp + 1]));
  };
  std::vector<wchar_t> keys;
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    if (const wchar_t key = keyOf(Text(design.id))) keys.push_back(key);
  }
  const HMENU bar = GetMenu(form_->Window());
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    const HMENU sub = GetSubMenu(bar, i);
    for (int j = 0; j < GetMenuItemCount(sub); ++j) {
      wchar_t item[64] = {};
      GetMenuStringW(sub, static_cast<UINT>(j), item, 64, MF_BYPOSITION);
      if (const wchar_t key = keyOf(item)) keys.push_back(key);
    }
    wchar_t top[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(i), top, 64, MF_BYPOSITION);
    if (const wchar_t key = keyOf(top)) keys.push_back(key);
  }
  EXPECT_EQ(std::count(keys.begin(), keys.end(), keyOf(Text(Id::chkFreed))), 1);
}

TEST_F(MainWindow, TabVisitsTheControlsInOrder) {
  frmMain& form = Open();
  SetFocus(Control(Id::optDefault));
  const Id order[] = {Id::txtDBXFile, Id::cmdFindDBX, Id::txtEMLFolder, Id::cmdFindEML,
                      Id::chkPointer, Id::chkFreed, Id::cmdStart, Id::optDefault};
  for (const Id next : order) {
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(form.TranslateDialogKeys(tab));
    EXPECT_EQ(GetFocus(), Control(next)) << static_cast<int>(next);
  }
}

TEST_F(MainWindow, ClosingWhileIdleAsksNothing) {
  const MessageBoxAnswerer answerer;
  frmMain& form = Open();
  SendMessageW(form.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.Window(), nullptr);
  EXPECT_EQ(closedCount_, 1);
  EXPECT_TRUE(answerer.Shown().empty());
}

TEST_F(MainWindow, ExitInTheFileMenuCloses) {
  frmMain& form = Open();
  SendMessageW(form.Window(), WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
  EXPECT_EQ(form.Window(), nullptr);
  EXPECT_EQ(closedCount_, 1);
}

TEST_F(MainWindow, FolderBrowserCancelledLeavesTheFolderAndConfirmedSetsIt) {
  Open();
  {
    const MessageBoxAnswerer browser({IDCANCEL});
    Click(Id::cmdFindEML);
    ASSERT_EQ(browser.Shown().size(), 1u);
    EXPECT_EQ(browser.Shown()[0].caption, L"フォルダーの参照");
  }
  EXPECT_EQ(Text(Id::txtEMLFolder), L"C:\\Docs");
  {
    const MessageBoxAnswerer browser({IDOK});
    Click(Id::cmdFindEML);
    ASSERT_EQ(browser.Shown().size(), 1u);
  }
  EXPECT_NE(Text(Id::txtEMLFolder), L"C:\\Docs");
  EXPECT_NE(Text(Id::txtEMLFolder), L"");
}

}  // namespace
