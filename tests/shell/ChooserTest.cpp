#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "Screenshot.h"
#include "WindowHarness.h"
#include "chooser/DbxChooser.h"
#include "discovery/Identities.h"
#include "platform/win32/Wide.h"
#include "tests/support/ScratchFolder.h"
#include "win32ui/Twips.h"

namespace {

using Id = ControlId;
using testsupport::ScratchFolder;

struct Row {
  std::wstring name;
  std::wstring size;
  int picture;  // 1 to 6
  bool operator==(const Row&) const = default;
};

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

HWND Item(HWND chooser, DbxControl id) { return GetDlgItem(chooser, static_cast<int>(id)); }

std::vector<Row> Rows(HWND chooser) {
  const HWND list = Item(chooser, DbxControl::lvwDBXFile);
  std::vector<Row> rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t name[260] = {};
    wchar_t size[64] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = name;
    item.cchTextMax = 260;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ListView_GetItemText(list, i, 1, size, 64);
    rows.push_back({name, size, item.iImage + 1});
  }
  return rows;
}

std::vector<std::wstring> Names(HWND chooser) {
  std::vector<std::wstring> names;
  for (const Row& row : Rows(chooser)) names.push_back(row.name);
  return names;
}

int SelectedRow(HWND chooser) {
  return static_cast<int>(
      SendMessageW(Item(chooser, DbxControl::lvwDBXFile), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND chooser, int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Item(chooser, DbxControl::lvwDBXFile), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&state));
}

int RowNamed(HWND chooser, const std::wstring& name) {
  const std::vector<std::wstring> names = Names(chooser);
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// As the user does it: the selection changes and the box reports it.
void SelectUser(HWND chooser, int index) {
  const HWND users = Item(chooser, DbxControl::cmbUser);
  SendMessageW(users, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(static_cast<int>(DbxControl::cmbUser), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(users));
}

void Press(HWND chooser, DbxControl button) { SendMessageW(Item(chooser, button), BM_CLICK, 0, 0); }

// A key reaches the focused control through the dialog's own loop.
void PressKey(HWND chooser, HWND control, WPARAM key) {
  PostMessageW(control, WM_KEYDOWN, key, 0);
  PostMessageW(control, WM_KEYUP, key, 0xC0000000);
  PumpDialog(chooser);
}

HWND OpenChooser() { return ThreadWindow(platform::win32::Wide(Text(WindowText::ChooserCaption, Language::Japanese)), L"#32770"); }

class Chooser : public WindowHarness {
 protected:
  void SetUp() override {
    WindowHarness::SetUp();
    // The first identity's folder holds every kind of file; the second the special folders only,
    // written in the opposite order.
    const char16_t* firstFiles[] = {u"削除済みアイテム.dbx", u"abc.dbx", u"下書き.dbx", u"受信トレイ.dbx",
                                    u"送信済みアイテム.dbx", u"送信トレイ.dbx", u"Folders.dbx", u"Offline.dbx",
                                    u"Pop3uidl.dbx", u"Search Folder.dbx", u"受信トレイ (2).dbx", u"notes.txt"};
    for (const char16_t* name : firstFiles) first_.WriteFile(name, "");
    const char16_t* secondFiles[] = {u"送信トレイ.dbx", u"送信済みアイテム.dbx", u"受信トレイ.dbx", u"下書き.dbx",
                                     u"削除済みアイテム.dbx", u"abc.dbx"};
    for (const char16_t* name : secondFiles) second_.WriteFile(name, "");
    users_.UserNames = {u"user1", u"user2", u"nobody", u"gone"};
    users_.StoreFolders = {first_.PathOf(u""), second_.PathOf(u""), u"", second_.PathOf(u"missing")};
    for (std::u16string& folder : users_.StoreFolders) {
      while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    }
    users_.CurrentUserIndex = 0;
    GetCurrentDirectoryW(MAX_PATH, startDirectory_);
  }

  // The file dialog makes the folder it showed the current one, which would keep it from being removed.
  void TearDown() override {
    WindowHarness::TearDown();
    SetCurrentDirectoryW(startDirectory_);
  }

  // Clicks the main window's Browse button and runs script inside the chooser.
  void WithChooser(const std::function<void(HWND)>& script) {
    const ModalScript modal(OpenChooser, script);
    Click(Id::cmdFindDBX);
    EXPECT_TRUE(modal.Ran()) << "the chooser did not open";
    EXPECT_EQ(OpenChooser(), nullptr) << "the chooser is still open";
  }

  std::wstring Folder(int user) const { return Wide(users_.StoreFolders[static_cast<std::size_t>(user)]); }

  ScratchFolder first_;
  ScratchFolder second_;
  wchar_t startDirectory_[MAX_PATH] = {};
};

const std::vector<std::wstring> kGroupOrder = {L"受信トレイ.dbx", L"送信トレイ.dbx", L"送信済みアイテム.dbx",
                                               L"削除済みアイテム.dbx", L"下書き.dbx", L"abc.dbx"};

TEST_F(Chooser, OpensOnTheStartIdentityWithItsFilesGroupedAndSized) {
  // Sizes, hidden, system and read-only files, and a folder that looks like a store.
  const struct {
    const char16_t* name;
    std::size_t bytes;
  } sized[] = {{u"s0.dbx", 0}, {u"s511.dbx", 511}, {u"s512.dbx", 512}, {u"s1536.dbx", 1536}, {u"s1m.dbx", 1048576}};
  for (const auto& file : sized) first_.WriteFile(file.name, std::string(file.bytes, 'x'));
  SetFileAttributesW(platform::win32::Wide(first_.WriteFile(u"hidden.dbx", "")), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(platform::win32::Wide(first_.WriteFile(u"system.dbx", "")), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesW(platform::win32::Wide(first_.WriteFile(u"readonly.dbx", "")), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryW(platform::win32::Wide(first_.PathOf(u"folder.dbx")), nullptr);
  Open();

  WithChooser([&](HWND chooser) {
    wchar_t caption[64] = {};
    GetWindowTextW(chooser, caption, 64);
    EXPECT_STREQ(caption, L"DBXファイルを検索");
    EXPECT_EQ(GetWindow(chooser, GW_OWNER), form_->Window());
    EXPECT_FALSE(IsWindowEnabled(form_->Window())) << "the main window waits while the chooser is open";
    RECT client{};
    GetClientRect(chooser, &client);
    const UINT dpi = GetDpiForWindow(chooser);
    EXPECT_EQ(client.right, TwipsToPixels(7695, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(3825, dpi));

    const HWND users = Item(chooser, DbxControl::cmbUser);
    ASSERT_EQ(SendMessageW(users, CB_GETCOUNT, 0, 0), 4);
    wchar_t entry[64] = {};
    SendMessageW(users, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"user2");
    EXPECT_EQ(SendMessageW(users, CB_GETCURSEL, 0, 0), 0);

    const std::vector<Row> rows = Rows(chooser);
    std::vector<std::wstring> names = Names(chooser);
    // The two Inbox files come first, next to each other; then one group after the other.
    ASSERT_GE(names.size(), 7u);
    EXPECT_TRUE((names[0] == L"受信トレイ.dbx" && names[1] == L"受信トレイ (2).dbx") ||
                (names[1] == L"受信トレイ.dbx" && names[0] == L"受信トレイ (2).dbx"));
    EXPECT_EQ(rows[0].picture, 1);
    EXPECT_EQ(rows[1].picture, 1);
    EXPECT_EQ(std::vector<std::wstring>(names.begin() + 2, names.begin() + 6),
              std::vector<std::wstring>(kGroupOrder.begin() + 1, kGroupOrder.end() - 1));
    for (int i = 2; i < 6; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)].picture, i);
    for (std::size_t i = 6; i < rows.size(); ++i) EXPECT_EQ(rows[i].picture, 6) << rows[i].name;

    std::sort(names.begin() + 6, names.end());
    EXPECT_EQ(std::vector<std::wstring>(names.begin() + 6, names.end()),
              (std::vector<std::wstring>{L"abc.dbx", L"readonly.dbx", L"s0.dbx", L"s1536.dbx", L"s1m.dbx",
                                         L"s511.dbx", L"s512.dbx"}))
        << "never listed: Folders, Offline, Pop3uidl, Search Folder, hidden, system, folders, other extensions";
    const std::pair<const wchar_t*, const wchar_t*> sizes[] = {
        {L"s0.dbx", L"0KB"}, {L"s511.dbx", L"0KB"}, {L"s512.dbx", L"1KB"}, {L"s1536.dbx", L"2KB"}, {L"s1m.dbx", L"1,024KB"}};
    for (const auto& [name, size] : sizes) {
      const int row = RowNamed(chooser, name);
      ASSERT_GE(row, 0) << name;
      EXPECT_EQ(rows[static_cast<std::size_t>(row)].size, size) << name;
    }
    EXPECT_EQ(SelectedRow(chooser), 0) << "the first row is selected";

    const HWND list = Item(chooser, DbxControl::lvwDBXFile);
    wchar_t header[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(header, L"DBXファイル名");
    EXPECT_EQ(column.cx, TwipsToPixels(2650, dpi));
    SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(header, L"サイズ");
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(column.cx, TwipsToPixels(1000, dpi));

    SaveScreenshot(chooser, L"chooser");
    Press(chooser, DbxControl::cmdCancel);
  });
  SetFileAttributesW(platform::win32::Wide(first_.PathOf(u"readonly.dbx")), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Chooser, ChangingTheUserRefillsTheListAndAUserWithoutAFolderEmptiesIt) {
  Open();
  WithChooser([&](HWND chooser) {
    SelectUser(chooser, 1);
    EXPECT_EQ(Names(chooser), kGroupOrder) << "the group order does not follow the order of writing";
    EXPECT_EQ(SelectedRow(chooser), 0);
    SelectUser(chooser, 2);
    EXPECT_TRUE(Rows(chooser).empty()) << "an identity without a store folder";
    SelectUser(chooser, 3);
    EXPECT_TRUE(Rows(chooser).empty()) << "a store folder that does not exist";
    SelectUser(chooser, 0);
    EXPECT_EQ(Rows(chooser).size(), 7u) << "each file once after coming back";
    Press(chooser, DbxControl::cmdCancel);
  });
}

TEST_F(Chooser, OpeningTwiceListsEachFileOnceBothTimes) {
  Open();
  for (int opening = 0; opening < 2; ++opening) {
    WithChooser([&](HWND chooser) {
      EXPECT_EQ(Rows(chooser).size(), 7u) << "opening " << opening;
      EXPECT_EQ(SendMessageW(Item(chooser, DbxControl::cmbUser), CB_GETCOUNT, 0, 0), 4);
      SelectUser(chooser, 1);
      Press(chooser, DbxControl::cmdCancel);
    });
  }
}

TEST_F(Chooser, OkWithTheSecondIdentityHandsBackItsPathAndTheStartRuleFollows) {
  Open();
  Click(Id::optFolder);
  ASSERT_FALSE(Enabled(Id::cmdStart));
  WithChooser([&](HWND chooser) {
    SelectUser(chooser, 1);
    SelectRow(chooser, RowNamed(chooser, L"下書き.dbx"));
    Press(chooser, DbxControl::cmdOK);
  });
  EXPECT_EQ(Text(Id::txtDBXFile), Folder(1) + L"\\下書き.dbx");
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Checked(Id::optDefault));
  EXPECT_TRUE(Enabled(Id::cmdStart));
  EXPECT_TRUE(IsWindowEnabled(form_->Window()));
}

TEST_F(Chooser, AChoiceWithoutAnOutputFolderLeavesStartDisabled) {
  Open();
  Replace(Id::txtEMLFolder, L"");
  Click(Id::optDefault);
  ASSERT_FALSE(Enabled(Id::cmdStart));
  WithChooser([&](HWND chooser) { Press(chooser, DbxControl::cmdOK); });
  EXPECT_EQ(Text(Id::txtDBXFile).rfind(Folder(0) + L"\\受信トレイ", 0), 0u) << "the first row";
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Enabled(Id::cmdStart));
}

TEST_F(Chooser, CancelEscAndTheCloseBoxHandNothingBack) {
  Open();
  Replace(Id::txtDBXFile, L"C:\\before.dbx");
  const std::pair<const char*, std::function<void(HWND)>> ways[] = {
      {"Cancel", [](HWND chooser) { Press(chooser, DbxControl::cmdCancel); }},
      {"Esc", [](HWND chooser) { PressKey(chooser, Item(chooser, DbxControl::lvwDBXFile), VK_ESCAPE); }},
      {"close box", [](HWND chooser) {
         PostMessageW(chooser, WM_SYSCOMMAND, SC_CLOSE, 0);
         PumpDialog(chooser);
       }},
  };
  for (const auto& [way, close] : ways) {
    WithChooser([&](HWND chooser) {
      SetFocus(Item(chooser, DbxControl::lvwDBXFile));
      close(chooser);
      EXPECT_FALSE(IsWindowVisible(chooser)) << way;
    });
    EXPECT_EQ(Text(Id::txtDBXFile), L"C:\\before.dbx") << way;
    EXPECT_TRUE(Checked(Id::optDefault)) << way;
  }
}

TEST_F(Chooser, EnterAndDoubleClickHandBackTheRowSelectedAtThatMoment) {
  Open();
  WithChooser([&](HWND chooser) {
    SetFocus(Item(chooser, DbxControl::lvwDBXFile));
    PressKey(chooser, Item(chooser, DbxControl::lvwDBXFile), VK_RETURN);
  });
  EXPECT_EQ(Text(Id::txtDBXFile).substr(Folder(0).size() + 1).find(L"受信トレイ"), 0u) << "Enter presses OK";

  WithChooser([&](HWND chooser) {
    const HWND list = Item(chooser, DbxControl::lvwDBXFile);
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 4, (row.top + row.bottom) / 2);
    // The button-up is queued first, so that the list's wait for the mouse ends at once.
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PumpDialog(chooser);
  });
  EXPECT_EQ(Text(Id::txtDBXFile), Folder(0) + L"\\" + kGroupOrder[2]) << "double click on the fourth row";
  EXPECT_TRUE(Checked(Id::optFolder));
}

TEST_F(Chooser, TabAndAccessKeysFollowTheDesign) {
  Open();
  WithChooser([&](HWND chooser) {
    EXPECT_EQ(GetFocus(), Item(chooser, DbxControl::cmbUser)) << "the first stop has the focus at opening";
    const DbxControl order[] = {DbxControl::lvwDBXFile, DbxControl::cmdOK, DbxControl::cmdCancel, DbxControl::cmdOpen,
                                DbxControl::cmbUser};
    for (const DbxControl next : order) {
      PressKey(chooser, GetFocus(), VK_TAB);
      EXPECT_EQ(GetFocus(), Item(chooser, next)) << static_cast<int>(next);
    }
    const std::pair<wchar_t, DbxControl> keys[] = {{L'd', DbxControl::lvwDBXFile}, {L'u', DbxControl::cmbUser}};
    for (const auto& [key, target] : keys) {
      PostMessageW(GetFocus(), WM_SYSCHAR, key, 1 << 29);
      PumpDialog(chooser);
      EXPECT_EQ(GetFocus(), Item(chooser, target)) << "Alt+" << static_cast<char>(key);
    }
    Press(chooser, DbxControl::cmdCancel);
  });
}

TEST_F(Chooser, OkOnAnEmptyListDoesNothing) {
  users_.CurrentUserIndex = 2;
  Open();
  // The identity has no store folder, so the window opens with the folder option.
  ASSERT_TRUE(Checked(Id::optFolder));
  WithChooser([&](HWND chooser) {
    EXPECT_TRUE(Rows(chooser).empty());
    Press(chooser, DbxControl::cmdOK);
    PumpMessages(50);
    EXPECT_TRUE(IsWindowVisible(chooser)) << "still open";
    Press(chooser, DbxControl::cmdCancel);
  });
  EXPECT_EQ(Text(Id::txtDBXFile), L"");
  EXPECT_TRUE(Checked(Id::optFolder));
  EXPECT_FALSE(Enabled(Id::cmdStart));
}

std::wstring FileDialogFolder(HWND dialog) {
  wchar_t folder[MAX_PATH] = {};
  SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  return folder;
}

TEST_F(Chooser, FileOpenDialogCancelledKeepsTheChooserAndStartsInTheStartIdentitysFolder) {
  Open();
  WithChooser([&](HWND chooser) {
    SelectUser(chooser, 1);
    const auto rowsBefore = Rows(chooser);
    const ModalScript fileDialog([chooser] { return DialogOwnedBy(chooser); },
                                 [&](HWND dialog) {
                                   EXPECT_EQ(FileDialogFolder(dialog), Folder(0))
                                       << "the start identity's folder, whichever user the chooser shows";
                                   const HWND types = GetDlgItem(dialog, cmb1);
                                   ASSERT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 2);
                                   wchar_t type[64] = {};
                                   SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(type));
                                   EXPECT_STREQ(type, L"DBXファイル (*.dbx)");
                                   SendMessageW(types, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(type));
                                   EXPECT_STREQ(type, L"すべてのファイル");
                                   EXPECT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), 0);
                                   const HWND readOnly = GetDlgItem(dialog, chx1);
                                   EXPECT_TRUE(readOnly == nullptr || !IsWindowVisible(readOnly));
                                   PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                                   PumpMessages(100);
                                 });
    Press(chooser, DbxControl::cmdOpen);
    EXPECT_TRUE(fileDialog.Ran());
    EXPECT_TRUE(IsWindowVisible(chooser)) << "the chooser stays open";
    EXPECT_EQ(Rows(chooser), rowsBefore);
    EXPECT_EQ(SendMessageW(Item(chooser, DbxControl::cmbUser), CB_GETCURSEL, 0, 0), 1);
    Press(chooser, DbxControl::cmdCancel);
  });
  EXPECT_EQ(Text(Id::txtDBXFile), L"");
  EXPECT_TRUE(Checked(Id::optDefault));
}

TEST_F(Chooser, FileOpenDialogChoiceIsHandedBackAsReturned) {
  const std::u16string elsewhere = second_.WriteFile(u"コピー.dbx", "");
  Open();
  WithChooser([&](HWND chooser) {
    const ModalScript fileDialog([chooser] { return DialogOwnedBy(chooser); },
                                 [&](HWND dialog) {
                                   HWND name = GetDlgItem(dialog, cmb13);
                                   if (name == nullptr) name = GetDlgItem(dialog, edt1);
                                   const HWND edit = FindWindowExW(name, nullptr, L"Edit", nullptr);
                                   SetWindowTextW(edit != nullptr ? edit : name, Wide(elsewhere).c_str());
                                   PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                                reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
                                   PumpMessages(200);
                                 });
    Press(chooser, DbxControl::cmdOpen);
    EXPECT_TRUE(fileDialog.Ran());
  });
  EXPECT_EQ(Text(Id::txtDBXFile), Wide(elsewhere));
  EXPECT_TRUE(Checked(Id::optFolder));
}

}  // namespace
