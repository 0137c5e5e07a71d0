// Creation and layout of the chooser, and its procedure: each event goes to its handler.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "chooser/frmDBX.h"
#include "chooser/imlFolder.h"
#include "shell/ModalDialog.h"
#include "shell/resource.h"

namespace {

// Fixed size, a close box, no minimise or maximise box; owned, so not in the task bar.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidthTwips = 7695;
constexpr int kClientHeightTwips = 3825;
// A drop-down list is created with the height of its open list.
constexpr int kDropDownTwips = 2400;

struct Design {
  DbxControl id;
  const wchar_t* className;
  const wchar_t* caption;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
};

// In tab order, which is also the order of creation: a label's access key moves to the control after it.
// clang-format off
const Design kControls[] = {
    {DbxControl::Label3, L"STATIC", L"Outlook Express のメッセージファイルを指定します。", SS_LEFTNOWORDWRAP, 0, 180, 240, 4005, 180},
    {DbxControl::Label1, L"STATIC", L"ユーザ(&U):", SS_LEFTNOWORDWRAP, 0, 180, 660, 810, 180},
    {DbxControl::cmbUser, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0, 1440, 600, 4575, 300 + kDropDownTwips},
    {DbxControl::Label2, L"STATIC", L"DBXファイル(&D):", SS_LEFTNOWORDWRAP, 0, 180, 1200, 1230, 180},
    {DbxControl::lvwDBXFile, WC_LISTVIEWW, L"",
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
     1440, 1080, 4575, 2475},
    {DbxControl::cmdOK, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 6240, 240, 1215, 375},
    {DbxControl::cmdCancel, L"BUTTON", L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP, 0, 6240, 720, 1215, 375},
    {DbxControl::cmdOpen, L"BUTTON", L"ファイルを開く", BS_PUSHBUTTON | WS_TABSTOP, 0, 6240, 1380, 1215, 375},
};
// clang-format on

struct Column {
  const wchar_t* caption;
  int widthTwips;
  int format;
};
const Column kColumns[] = {{L"DBXファイル名", 2650, LVCFMT_LEFT}, {L"サイズ", 1000, LVCFMT_RIGHT}};

// Labels grow to their caption, so that no text is cut off at any font size.
void FitLabel(HWND label) {
  wchar_t caption[128] = {};
  GetWindowTextW(label, caption, 128);
  const HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT extent{};
  DrawTextW(dc, caption, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  RECT current{};
  GetClientRect(label, &current);
  SetWindowPos(label, nullptr, 0, 0, std::max(current.right, extent.right), std::max(current.bottom, extent.bottom),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void frmDBX::Show(HWND owner, DbxChoiceTarget& target) {
  frmDBX form(target);
  ShowModalDialog(owner, kDialogStyle, FormDialogProcedure<frmDBX>, reinterpret_cast<LPARAM>(&form));
}

void frmDBX::CreateControls() {
  const UINT dpi = GetDpiForWindow(dialog_);
  font_ = MakeFont(L"MS UI Gothic", 9, dpi);
  for (const Design& design : kControls) {
    const HWND control = CreateDialogControl(dialog_, static_cast<int>(design.id), design.className, design.caption,
                                             design.style, design.exStyle, design.left, design.top, design.width,
                                             design.height, font_.get());
    if (design.className == std::wstring_view(L"STATIC")) FitLabel(control);
  }
  const HWND list = Control(DbxControl::lvwDBXFile);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = TwipsToPixels(kColumns[i].widthTwips, dpi);
    column.pszText = const_cast<wchar_t*>(kColumns[i].caption);
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  imlFolder_.reset(CreateFolderImages());
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(imlFolder_.get()));

  SetWindowTextW(dialog_, kChooserCaption);
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
