#pragma once
// The DBX chooser: lists the store files of any identity, grouped and with their sizes, or picks a
// file anywhere with the file-open dialog, and hands the chosen path to the main window.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "shell/GdiObject.h"

inline constexpr wchar_t kChooserCaption[] = L"DBXファイルを検索";

// Control identifiers; OK and Cancel carry IDOK and IDCANCEL so that Enter and Esc reach them.
enum class DbxControl : int {
  cmdOK = IDOK,
  cmdCancel = IDCANCEL,
  Label3 = 100,
  Label1,
  cmbUser,
  Label2,
  lvwDBXFile,
  cmdOpen,
};

// Where the choice goes: the main window's DBX box and its folder option, each raising the window's
// own reaction to that control as an edit or a click by the user would.
class DbxChoiceTarget {
 public:
  virtual void SetDbxFileText(const std::u16string& path) = 0;
  virtual void SelectFolderOption() = 0;

 protected:
  ~DbxChoiceTarget() = default;
};

struct ImageListDeleter {
  void operator()(_IMAGELIST* list) const { ImageList_Destroy(list); }
};
using ImageList = std::unique_ptr<_IMAGELIST, ImageListDeleter>;

class frmDBX {
 public:
  // Shows the chooser modally over owner; returns when it has closed. Built anew at every showing.
  static void Show(HWND owner, DbxChoiceTarget& target);

 private:
  explicit frmDBX(DbxChoiceTarget& target) : target_(target) {}
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void DispatchCommand(int id, int code);

  // Event handlers.
  void Form_Load();
  void cmbUser_Click();
  void cmdOK_Click();
  void lvwDBXFile_DblClick();
  void cmdCancel_Click();
  void cmdOpen_Click();

  void ListDbxFiles(const std::u16string& folder);
  void HandBack(const std::u16string& path);

  // Window plumbing (frmDBXWindow.cpp).
  void CreateControls();
  HWND Control(DbxControl id) const { return GetDlgItem(dialog_, static_cast<int>(id)); }

  DbxChoiceTarget& target_;
  HWND dialog_ = nullptr;
  GdiObject<HFONT> font_;
  ImageList imlFolder_;
  bool ListReady = false;
};
