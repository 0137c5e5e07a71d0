#pragma once
// The results window: the run's list, sorted, filtered and searched as the user asks, and a preview of
// the message selected. The list is owner-data, so it draws only the rows in sight; the preview reads
// only the selected message's file.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/results/ResultRows.h"
#include "engine/runlist/RunListRow.h"
#include "win32ui/GdiObject.h"
#include "windowtexts/WindowTexts.h"

// What the window shows: the rows of a run's list and the run folder their paths start from.
struct RunResults {
  std::u16string runFolder;
  std::vector<RunListRow> rows;
};

// Close carries IDCANCEL, so that Esc closes; Enter (IDOK) opens the selected message.
enum class ResultsControl : int {
  None = 0,
  cmdClose = IDCANCEL,
  lblShow = 100,
  cmbShow,
  lblSearch,
  txtSearch,
  lblMail,
  lvwMail,
  lblPreview,
  txtPreview,
  lblShown,
};

// The context menu's commands.
enum class ResultsCommand : int { Open = 200, ShowInFolder, CopySubject };

class frmResults {
 public:
  // Shows the window modally over owner, in the language; returns when it has closed. It remembers
  // neither its size nor its columns.
  static void Show(HWND owner, Language language, const RunResults& results);

 private:
  frmResults(Language language, const RunResults& results) : language_(language), results_(results) {}
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void DispatchCommand(int id, int code);
  // The list's notifications; the answer the list expects.
  LRESULT DispatchNotify(const NMHDR& header);

  // Event handlers.
  void Form_Load();
  void cmbShow_Click();
  void txtSearch_Change();
  void lvwMail_ColumnClick(int column);
  void lvwMail_SelectionChanged();
  void lvwMail_GetDisplayInfo(NMLVDISPINFOW& info);
  LRESULT lvwMail_CustomDraw(NMLVCUSTOMDRAW& draw) const;
  void lvwMail_ContextMenu(POINT at, bool fromKeyboard);
  void mnuOpen_Click();
  void mnuShowInFolder_Click();
  void mnuCopySubject_Click();

  // Shows the rows the query keeps, in its order, keeping the selected row selected when it stays.
  void Requery();
  void SelectItem(WPARAM item);
  // The row shown at the list's place; null for none.
  const RunListRow* RowAt(int item) const;
  const RunListRow* SelectedRow() const;
  void ShowPreview(const RunListRow* row, const std::u16string& firstLine = {});
  std::u16string CellText(const RunListRow& row, int column) const;

  // Window plumbing (ResultsWindowProc.cpp).
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void Layout();
  void ShowSortMark();
  HWND Control(ResultsControl id) const { return GetDlgItem(dialog_, static_cast<int>(id)); }

  struct ImageListDeleter {
    void operator()(_IMAGELIST* list) const { ImageList_Destroy(list); }
  };

  const Language language_;
  const RunResults& results_;
  HWND dialog_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  GdiObject<HFONT> font_;
  std::unique_ptr<_IMAGELIST, ImageListDeleter> stateImages_;
  std::u16string search_;
  ResultQuery query_;
  std::vector<std::size_t> order_;  // indices into results_.rows, in the order shown
  const RunListRow* previewed_ = nullptr;
  bool requerying_ = false;  // the list's selection changes under Requery, which shows the preview once
};
