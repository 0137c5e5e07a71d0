// Creation and layout of the chooser, and its procedure: each event goes to its handler.
#include <iterator>

#include "chooser/DbxChooser.h"
#include "chooser/FolderIcons.h"
#include "win32ui/ListColumns.h"
#include "win32ui/ControlTable.h"
#include "win32ui/Fonts.h"
#include "win32ui/ModalDialog.h"
#include "win32ui/ProgramIcon.h"

namespace {

// Fixed size, a close box, no minimise or maximise box; owned, so not in the task bar.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidthTwips = 7695;
constexpr int kClientHeightTwips = 3825;
// A drop-down list is created with the height of its open list.
constexpr int kDropDownTwips = 2400;

using enum DbxControl;

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | WS_VISIBLE;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE;
constexpr int kDefaultFont = 0;

// In tab order, which is also the order of creation: a label's access key moves to the control after it.
// clang-format off
constexpr ControlDesign<DbxControl> kControls[] = {
    {Label3, None, L"STATIC", WindowText::ChooserIntro, kLabel, 0, 180, 240, 4005, 180, kDefaultFont},
    {Label1, None, L"STATIC", WindowText::ChooserUser, kLabel, 0, 180, 660, 810, 180, kDefaultFont},
    {cmbUser, None, WC_COMBOBOXW, WindowText::None, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP | WS_VISIBLE, 0, 1440, 600, 4575, 300 + kDropDownTwips, kDefaultFont},
    {Label2, None, L"STATIC", WindowText::ChooserFiles, kLabel, 0, 180, 1200, 1230, 180, kDefaultFont},
    {lvwDBXFile, None, WC_LISTVIEWW, WindowText::None,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP | WS_GROUP | WS_VISIBLE, WS_EX_CLIENTEDGE,
     1440, 1080, 4575, 2475, kDefaultFont},
    {cmdOK, None, L"BUTTON", WindowText::Ok, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_VISIBLE, 0, 6240, 240, 1215, 375, kDefaultFont},
    {cmdCancel, None, L"BUTTON", WindowText::Cancel, kButton, 0, 6240, 720, 1215, 375, kDefaultFont},
    {cmdOpen, None, L"BUTTON", WindowText::OpenFile, kButton, 0, 6240, 1380, 1215, 375, kDefaultFont},
};
// clang-format on

constexpr ListColumn kColumns[] = {{WindowText::ColumnName, 2650, LVCFMT_LEFT}, {WindowText::ColumnSize, 1000, LVCFMT_RIGHT}};

}  // namespace

std::optional<std::u16string> frmDBX::Show(HWND owner, const UserList& users, Language language) {
  frmDBX form(users, language);
  ShowModalDialog(owner, kDialogStyle, FormDialogProcedure<frmDBX>, reinterpret_cast<LPARAM>(&form));
  return form.chosen_;
}

void frmDBX::CreateControls() {
  const UINT dpi = GetDpiForWindow(dialog_);
  font_ = MakeFont(L"MS UI Gothic", 9, dpi);
  const HFONT fonts[] = {font_.get()};
  for (const ControlDesign<DbxControl>& design : kControls) PlaceControl(CreateControl(dialog_, design, language_), design, fonts, dpi);
  const HWND list = Control(DbxControl::lvwDBXFile);
  InsertListColumns(list, kColumns, language_, dpi);
  imlFolder_.reset(CreateFolderImages());
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imlFolder_.get()));

  SetWindowTextW(dialog_, platform::win32::Wide(Text(WindowText::ChooserCaption, language_)));
  const auto icon = reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PALVENOR)));
  SendMessageW(dialog_, WM_SETICON, ICON_SMALL, icon);
  SendMessageW(dialog_, WM_SETICON, ICON_BIG, icon);
  PlaceOverOwner(dialog_, kClientWidthTwips, kClientHeightTwips);
}

INT_PTR frmDBX::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateControls();
      Form_Load();
      return TRUE;  // the focus goes to the first control in tab order, the user box
    case WM_COMMAND:
      DispatchCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(DbxControl::lvwDBXFile) && header->code == NM_DBLCLK) {
        lvwDBXFile_DblClick();
      }
      return TRUE;
    }
    case WM_CLOSE:
      cmdCancel_Click();
      return TRUE;
    default:
      return FALSE;
  }
}

void frmDBX::DispatchCommand(int id, int code) {
  switch (static_cast<DbxControl>(id)) {
    case DbxControl::cmdOK:
      cmdOK_Click();
      return;
    case DbxControl::cmdCancel:
      cmdCancel_Click();
      return;
    case DbxControl::cmdOpen:
      if (code == BN_CLICKED) cmdOpen_Click();
      return;
    case DbxControl::cmbUser:
      if (code == CBN_SELCHANGE) cmbUser_Click();
      return;
    default:
      return;
  }
}
