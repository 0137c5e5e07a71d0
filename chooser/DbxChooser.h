#pragma once
// The DBX chooser: lists the store files of any identity, grouped and with their sizes, or picks a
// file anywhere with the file-open dialog, and hands the chosen path back to its caller.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "discovery/Identities.h"
#include "win32ui/GdiObject.h"
#include "windowtexts/WindowTexts.h"

// Control identifiers; OK and Cancel carry IDOK and IDCANCEL so that Enter and Esc reach them.
enum class DbxControl : int {
  None = 0,  // as a container: the dialog itself
  cmdOK = IDOK,
  cmdCancel = IDCANCEL,
  Label3 = 100,
  Label1,
  cmbUser,
  Label2,
  lvwDBXFile,
  cmdOpen,
};

struct ImageListDeleter {
  void operator()(_IMAGELIST* list) const { ImageList_Destroy(list); }
};
using ImageList = std::unique_ptr<_IMAGELIST, ImageListDeleter>;

class frmDBX {
 public:
  // Shows the chooser modally over owner, in the language, and returns, once it has closed, the chosen
  // file's full path, or nothing when it was cancelled. Built anew at every showing.
  static std::optional<std::u16string> Show(HWND owner, const UserList& users, Language language);

 private:
  frmDBX(const UserList& users, Language language) : users_(users), language_(language) {}
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

  const UserList& users_;
  const Language language_;
  HWND dialog_ = nullptr;
  std::optional<std::u16string> chosen_;
  GdiObject<HFONT> font_;
  ImageList imlFolder_;
  bool ListReady = false;
};
