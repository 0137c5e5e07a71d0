#include "chooser/DbxChooser.h"

#include <commdlg.h>

#include <vector>

#include "chooser/DbxFiles.h"
#include "chooser/DbxFolderListing.h"
#include "discovery/Identities.h"
#include "platform/win32/Wide.h"

using platform::win32::FromWide;
using platform::win32::Wide;

namespace {

// Long enough for any path the file dialog can return.
constexpr std::size_t kPathBuffer = 32768;

// Pairs of a filter's name and its pattern, each ended by a NUL, and one more NUL after the last.
std::u16string OpenFilter(Language language) {
  return Text(WindowText::FilterDbx, language) + u'\0' + u"*.dbx" + u'\0' + Text(WindowText::FilterAll, language) + u'\0' +
         u"*.*" + u'\0';
}

}  // namespace

void frmDBX::Form_Load() {
  ListReady = false;
  const HWND users = Control(DbxControl::cmbUser);
  for (const std::u16string& name : users_.UserNames) SendMessageW(users, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name)));
  SendMessageW(users, CB_SETCURSEL, static_cast<WPARAM>(users_.CurrentUserIndex), 0);
  const std::u16string& folder = users_.StoreFolderAt(users_.CurrentUserIndex);
  if (!folder.empty()) ListDbxFiles(folder);
  ListReady = true;
}

void frmDBX::cmbUser_Click() {
  if (!ListReady) return;
  SendMessageW(Control(DbxControl::lvwDBXFile), LVM_DELETEALLITEMS, 0, 0);
  const std::u16string& folder = users_.StoreFolderAt(SendMessageW(Control(DbxControl::cmbUser), CB_GETCURSEL, 0, 0));
  if (!folder.empty()) ListDbxFiles(folder);
}

// Without a selected row (an empty list) there is nothing to hand back, and the chooser stays open.
void frmDBX::cmdOK_Click() {
  const HWND list = Control(DbxControl::lvwDBXFile);
  const auto row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const std::u16string& folder = users_.StoreFolderAt(SendMessageW(Control(DbxControl::cmbUser), CB_GETCURSEL, 0, 0));
  if (row < 0 || folder.empty()) return;
  std::vector<wchar_t> name(kPathBuffer, L'\0');
  LVITEMW item{};
  item.pszText = name.data();
  item.cchTextMax = static_cast<int>(name.size());
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  HandBack(folder + u"\\" + FromWide(name.data()));
}

void frmDBX::lvwDBXFile_DblClick() { SendMessageW(Control(DbxControl::cmdOK), BM_CLICK, 0, 0); }

void frmDBX::cmdCancel_Click() { EndDialog(dialog_, IDCANCEL); }

// A cancel or any failure of the file dialog leaves the chooser open as it was.
void frmDBX::cmdOpen_Click() {
  std::vector<wchar_t> path(kPathBuffer, L'\0');
  const std::u16string& startFolder = users_.StoreFolderAt(users_.CurrentUserIndex);
  const std::u16string filter = OpenFilter(language_);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = dialog_;
  request.lpstrFilter = Wide(filter);
  request.nFilterIndex = 1;
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrInitialDir = startFolder.empty() ? nullptr : Wide(startFolder);
  request.Flags = OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&request)) return;
  HandBack(FromWide(path.data()));
}

void frmDBX::ListDbxFiles(const std::u16string& folder) {
  const HWND list = Control(DbxControl::lvwDBXFile);
  for (const DbxFileRow& row : GroupDbxFiles(ListDbxFolder(folder))) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(Wide(row.name));
    item.iImage = row.category - 1;
    const auto index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW size{};
    size.iSubItem = 1;
    size.pszText = const_cast<wchar_t*>(Wide(row.size));
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&size));
  }
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
    LVITEMW selected{};
    selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
  }
}

void frmDBX::HandBack(const std::u16string& path) {
  chosen_ = path;
  EndDialog(dialog_, IDOK);
}
