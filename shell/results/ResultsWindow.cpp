#include "shell/results/ResultsWindow.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "engine/RunReport.h"
#include "engine/naming/DecimalText.h"
#include "engine/results/MailPreview.h"
#include "engine/runlist/RunListWords.h"
#include "platform/win32/Wide.h"
#include "shell/results/LocaleSortKey.h"
#include "shell/results/StateImages.h"
#include "win32ui/ControlTable.h"
#include "win32ui/WindowText.h"

using platform::win32::Wide;
using platform::win32::WideBuffer;

namespace {

// The filter drop-down's items, in ResultFilter order.
constexpr WindowText kFilters[] = {WindowText::ResultsAll, WindowText::ResultsDeletedOnly, WindowText::ResultsMissing};

}  // namespace

void frmResults::Form_Load() {
  for (const WindowText filter : kFilters) {
    SendMessageW(Control(ResultsControl::cmbShow), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(Text(filter, language_))));
  }
  SendMessageW(Control(ResultsControl::cmbShow), CB_SETCURSEL, 0, 0);
  Requery();
  if (!order_.empty()) SelectItem(0);
}

void frmResults::cmbShow_Click() {
  query_.filter = static_cast<ResultFilter>(SendMessageW(Control(ResultsControl::cmbShow), CB_GETCURSEL, 0, 0));
  Requery();
}

void frmResults::txtSearch_Change() {
  search_ = GetText(Control(ResultsControl::txtSearch));
  query_.search = search_;
  Requery();
}

// A second click on the column sorts it the other way.
void frmResults::lvwMail_ColumnClick(int column) {
  const auto clicked = static_cast<ResultColumn>(column);
  query_.ascending = clicked != query_.sortColumn || !query_.ascending;
  query_.sortColumn = clicked;
  Requery();
}

void frmResults::lvwMail_SelectionChanged() {
  if (requerying_) return;
  const RunListRow* row = SelectedRow();
  if (row != previewed_) ShowPreview(row);
}

void frmResults::lvwMail_GetDisplayInfo(NMLVDISPINFOW& info) {
  const RunListRow* row = RowAt(info.item.iItem);
  if (row == nullptr) return;
  if ((info.item.mask & LVIF_IMAGE) != 0) info.item.iImage = static_cast<int>(StateImageOf(*row));
  if ((info.item.mask & LVIF_TEXT) != 0 && info.item.cchTextMax > 0) {
    lstrcpynW(info.item.pszText, Wide(CellText(*row, info.item.iSubItem)), info.item.cchTextMax);
  }
}

// Rows of messages that were not found are grey; their mark tells them apart too.
LRESULT frmResults::lvwMail_CustomDraw(NMLVCUSTOMDRAW& draw) const {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const RunListRow* row = RowAt(static_cast<int>(draw.nmcd.dwItemSpec));
  if (row != nullptr && row->state == RunListState::Missing) draw.clrText = GetSysColor(COLOR_GRAYTEXT);
  return CDRF_NEWFONT;
}

void frmResults::lvwMail_ContextMenu(POINT at, bool fromKeyboard) {
  const HWND list = Control(ResultsControl::lvwMail);
  const RunListRow* row = SelectedRow();
  if (row == nullptr) return;
  if (fromKeyboard) {
    RECT item{LVIR_LABEL, 0, 0, 0};
    const auto selected = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    at = {item.left, item.bottom};
    ClientToScreen(list, &at);
  }
  const UINT hasFile = row->state == RunListState::Missing ? MF_GRAYED : MF_ENABLED;
  const HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | hasFile, static_cast<UINT_PTR>(ResultsCommand::Open), Wide(Text(WindowText::MenuOpen, language_)));
  AppendMenuW(menu, MF_STRING | hasFile, static_cast<UINT_PTR>(ResultsCommand::ShowInFolder),
              Wide(Text(WindowText::MenuShowInFolder, language_)));
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(ResultsCommand::CopySubject), Wide(Text(WindowText::MenuCopySubject, language_)));
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, dialog_, nullptr);
  DestroyMenu(menu);
}

// No program registered for .eml is common on a fresh system: the preview says so, no box comes.
void frmResults::mnuOpen_Click() {
  const RunListRow* row = SelectedRow();
  if (row == nullptr || row->state == RunListState::Missing) return;
  const std::u16string path = RunListFilePath(results_.runFolder, *row);
  // Without the flag the system would show a box of its own when nothing can open the file.
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_FLAG_NO_UI;
  execute.hwnd = dialog_;
  execute.lpVerb = L"open";
  execute.lpFile = Wide(path);
  execute.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&execute)) return;
  const DWORD failure = GetLastError();
  const auto opened = reinterpret_cast<INT_PTR>(execute.hInstApp);
  const bool noProgram = opened == SE_ERR_NOASSOC || failure == ERROR_NO_ASSOCIATION;
  ShowPreview(row, Text(noProgram ? WindowText::NoProgramForEml : WindowText::OpenFailed, language_));
}

void frmResults::mnuShowInFolder_Click() {
  const RunListRow* row = SelectedRow();
  if (row == nullptr || row->state == RunListState::Missing) return;
  std::u16string commandLine = u"explorer.exe /select,\"" + RunListFilePath(results_.runFolder, *row) + u"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, WideBuffer(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

void frmResults::mnuCopySubject_Click() {
  const RunListRow* row = SelectedRow();
  if (row == nullptr || !OpenClipboard(dialog_)) return;
  EmptyClipboard();
  const std::size_t bytes = (row->subject.size() + 1) * sizeof(char16_t);
  if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes); memory != nullptr) {
    std::memcpy(GlobalLock(memory), row->subject.c_str(), bytes);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

void frmResults::Requery() {
  const HWND list = Control(ResultsControl::lvwMail);
  const RunListRow* selected = SelectedRow();
  const auto selectedItem = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  order_ = ResultOrder(results_.rows, query_, TextSortKey(LocaleSortKey));
  requerying_ = true;
  // Only the selected row is cleared: clearing every row walks them all, 300,000 in a long list.
  LVITEMW cleared{};
  cleared.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (selectedItem >= 0) SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selectedItem), reinterpret_cast<LPARAM>(&cleared));
  SendMessageW(list, LVM_SETITEMCOUNT, order_.size(), LVSICF_NOSCROLL);
  const auto kept = std::find_if(order_.begin(), order_.end(), [&](std::size_t i) { return &results_.rows[i] == selected; });
  if (kept != order_.end()) {
    const auto item = static_cast<WPARAM>(kept - order_.begin());
    SelectItem(item);
    SendMessageW(list, LVM_ENSUREVISIBLE, item, FALSE);
  }
  InvalidateRect(list, nullptr, FALSE);
  requerying_ = false;
  lvwMail_SelectionChanged();
  ShowSortMark();
  SetLabelText(Control(ResultsControl::lblShown),
               Wide(Text(WindowText::ResultsShown, language_,
                         {DecimalText(static_cast<std::int64_t>(order_.size())),
                          DecimalText(static_cast<std::int64_t>(results_.rows.size()))})));
}

void frmResults::SelectItem(WPARAM item) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Control(ResultsControl::lvwMail), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

const RunListRow* frmResults::RowAt(int item) const {
  if (item < 0 || static_cast<std::size_t>(item) >= order_.size()) return nullptr;
  return &results_.rows[order_[static_cast<std::size_t>(item)]];
}

const RunListRow* frmResults::SelectedRow() const {
  const auto item = SendMessageW(Control(ResultsControl::lvwMail), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  return RowAt(static_cast<int>(item));
}

void frmResults::ShowPreview(const RunListRow* row, const std::u16string& firstLine) {
  previewed_ = row;
  std::u16string text = firstLine.empty() ? u"" : firstLine + u"\r\n\r\n";
  if (row != nullptr) text += PreviewText(results_.runFolder, *row, language_);
  SetText(Control(ResultsControl::txtPreview), text);
}

std::u16string frmResults::CellText(const RunListRow& row, int column) const {
  switch (static_cast<ResultColumn>(column)) {
    case ResultColumn::State: {
      const std::u16string word(RunListStateWord(row.state, language_));
      if (row.complete || row.state == RunListState::Missing) return word;
      return Text(WindowText::StateCutShort, language_, {word, CompletenessWord(false, language_)});
    }
    case ResultColumn::Date:
      return RunListDateText(row.date);
    case ResultColumn::Sender:
      return row.sender;
    case ResultColumn::Subject:
      return row.subject;
    case ResultColumn::Size:
      return row.state == RunListState::Missing ? u"" : DecimalText(RoundedUpKilobytes(row.bytes)) + u" KB";
    case ResultColumn::Folder:
      return std::u16string(StoreFolderOf(row));
    case ResultColumn::Path:
      break;
  }
  return {};
}
