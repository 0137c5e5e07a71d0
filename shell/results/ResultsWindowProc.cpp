// Creation, layout and procedure of the results window.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "shell/results/ResultsWindow.h"
#include "shell/results/StateImages.h"
#include "win32ui/ControlTable.h"
#include "win32ui/Fonts.h"
#include "win32ui/ListColumns.h"
#include "win32ui/ModalDialog.h"
#include "win32ui/ProgramIcon.h"
#include "win32ui/Twips.h"

namespace {

// Resizable, so that long subjects and the preview get the room the screen has.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
// The client area as it opens: fits a 1024 x 768 screen at 96 DPI with the frame and a task bar.
constexpr int kClientWidthTwips = 14100;
constexpr int kClientHeightTwips = 9300;
constexpr SIZE kSmallestPixels{480, 360};  // at 96 DPI

using enum ResultsControl;

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | kShown;
constexpr DWORD kList = LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                        WS_TABSTOP | WS_GROUP | kShown;
constexpr DWORD kPreview = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP | kShown;

// In tab order; each label gives the control after it its access key. Places come from Layout.
// clang-format off
constexpr ControlDesign<ResultsControl> kControls[] = {
    {lblShow,    None, L"STATIC",  WindowText::ResultsShowLabel, kLabel, 0, 0, 0, 0, 0, 0},
    {cmbShow,    None, L"COMBOBOX", WindowText::None, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP | kShown, 0, 0, 0, 0, 0, 0},
    {lblSearch,  None, L"STATIC",  WindowText::ResultsSearchLabel, kLabel | WS_GROUP, 0, 0, 0, 0, 0, 0},
    {txtSearch,  None, L"EDIT",    WindowText::None, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | kShown, WS_EX_CLIENTEDGE, 0, 0, 0, 0, 0},
    {lblMail,    None, L"STATIC",  WindowText::ResultsListLabel, kLabel | WS_GROUP, 0, 0, 0, 0, 0, 0},
    {lvwMail,    None, WC_LISTVIEWW, WindowText::None, kList, WS_EX_CLIENTEDGE, 0, 0, 0, 0, 0},
    {lblPreview, None, L"STATIC",  WindowText::PreviewLabel, kLabel | WS_GROUP, 0, 0, 0, 0, 0, 0},
    {txtPreview, None, L"EDIT",    WindowText::None, kPreview, WS_EX_CLIENTEDGE, 0, 0, 0, 0, 0},
    {lblShown,   None, L"STATIC",  WindowText::None, kLabel | WS_GROUP, 0, 0, 0, 0, 0, 0},
    {cmdClose,   None, L"BUTTON",  WindowText::Close, WS_TABSTOP | WS_GROUP | kShown, 0, 0, 0, 0, 0, 0},
};
// clang-format on

// In ResultColumn order.
constexpr ListColumn kColumns[] = {
    {WindowText::ColumnState, 1800, LVCFMT_LEFT},  {WindowText::ColumnDate, 2250, LVCFMT_LEFT},
    {WindowText::ColumnFrom, 2850, LVCFMT_LEFT},   {WindowText::ColumnSubject, 4350, LVCFMT_LEFT},
    {WindowText::ColumnBytes, 1050, LVCFMT_RIGHT}, {WindowText::ColumnFolder, 1500, LVCFMT_LEFT},
};

int Scaled(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

SIZE SizeOf(HWND control) {
  RECT box{};
  GetWindowRect(control, &box);
  return {box.right - box.left, box.bottom - box.top};
}

void Place(HWND control, int left, int top, int width, int height) {
  SetWindowPos(control, nullptr, left, top, std::max(width, 0), std::max(height, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

// Keeps the whole window on its monitor's work area, as the owner's centre may put it partly off.
void KeepOnScreen(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT frame{};
  GetWindowRect(window, &frame);
  const RECT& work = monitor.rcWork;
  const LONG left = std::max(work.left, std::min(frame.left, work.right - (frame.right - frame.left)));
  const LONG top = std::max(work.top, std::min(frame.top, work.bottom - (frame.bottom - frame.top)));
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void frmResults::Show(HWND owner, Language language, const RunResults& results) {
  const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
  frmResults form(language, results);
  ShowModalDialog(owner, kDialogStyle, FormDialogProcedure<frmResults>, reinterpret_cast<LPARAM>(&form));
}

void frmResults::CreateControls() {
  for (const ControlDesign<ResultsControl>& design : kControls) CreateControl(dialog_, design, language_);
  const HWND list = Control(lvwMail);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  dpi_ = GetDpiForWindow(dialog_);
  InsertListColumns(list, kColumns, language_, dpi_);
  ApplyDpi(dpi_);
  SetWindowTextW(dialog_, platform::win32::Wide(Text(WindowText::ResultsCaption, language_)));
  const auto icon = reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PALVENOR)));
  SendMessageW(dialog_, WM_SETICON, ICON_SMALL, icon);
  SendMessageW(dialog_, WM_SETICON, ICON_BIG, icon);
  PlaceOverOwner(dialog_, kClientWidthTwips, kClientHeightTwips);
  KeepOnScreen(dialog_);
}

// Fonts, marks and column widths for the DPI; the columns keep the widths the user gave them, scaled.
void frmResults::ApplyDpi(UINT dpi) {
  const HWND list = Control(lvwMail);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    const auto width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MulDiv(width, static_cast<int>(dpi), static_cast<int>(dpi_)));
  }
  dpi_ = dpi;
  font_ = MakeFont(L"MS UI Gothic", 9, dpi);
  for (const ControlDesign<ResultsControl>& design : kControls) {
    SendMessageW(Control(design.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (std::wstring_view(design.className) == L"STATIC") FitLabel(Control(design.id));
  }
  stateImages_.reset(CreateStateImages(Scaled(16, dpi)));
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(stateImages_.get()));
  Layout();
}

// Filters on one line at the top, the list and the preview share the height, Close at the bottom right.
void frmResults::Layout() {
  RECT area{};
  GetClientRect(dialog_, &area);
  const int width = static_cast<int>(area.right);
  const int height = static_cast<int>(area.bottom);
  const int margin = Scaled(8, dpi_);
  const int gap = Scaled(6, dpi_);
  const int boxHeight = Scaled(22, dpi_);
  const int labelHeight = SizeOf(Control(lblShow)).cy;
  const int labelShift = (boxHeight - labelHeight) / 2;

  int x = margin;
  const auto placeLabel = [&](ResultsControl label, int y) {
    SetWindowPos(Control(label), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += SizeOf(Control(label)).cx + gap;
  };
  placeLabel(lblShow, margin + labelShift);
  Place(Control(cmbShow), x, margin, Scaled(170, dpi_), Scaled(200, dpi_));
  x += Scaled(170, dpi_) + 3 * gap;
  placeLabel(lblSearch, margin + labelShift);
  Place(Control(txtSearch), x, margin, std::min(width - margin - x, Scaled(320, dpi_)), boxHeight);

  const SIZE button{Scaled(88, dpi_), Scaled(25, dpi_)};
  const int bottom = height - margin - button.cy;
  Place(Control(cmdClose), width - margin - button.cx, bottom, button.cx, button.cy);
  x = margin;
  placeLabel(lblShown, bottom + (button.cy - labelHeight) / 2);

  const int mailTop = margin + boxHeight + gap;
  x = margin;
  placeLabel(lblMail, mailTop);
  const int listTop = mailTop + labelHeight + Scaled(2, dpi_);
  const int shared = bottom - gap - listTop - (labelHeight + Scaled(2, dpi_) + gap);
  const int listHeight = shared * 3 / 5;
  Place(Control(lvwMail), margin, listTop, width - 2 * margin, listHeight);
  const int previewLabelTop = listTop + listHeight + gap;
  x = margin;
  placeLabel(lblPreview, previewLabelTop);
  const int previewTop = previewLabelTop + labelHeight + Scaled(2, dpi_);
  Place(Control(txtPreview), margin, previewTop, width - 2 * margin, bottom - gap - previewTop);
}

void frmResults::ShowSortMark() {
  const auto header = reinterpret_cast<HWND>(SendMessageW(Control(lvwMail), LVM_GETHEADER, 0, 0));
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == static_cast<int>(query_.sortColumn)) item.fmt |= query_.ascending ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

INT_PTR frmResults::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CreateControls();
      Form_Load();
      SetFocus(Control(lvwMail));
      return FALSE;
    case WM_COMMAND:
      DispatchCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom != static_cast<UINT_PTR>(lvwMail)) return FALSE;
      SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, DispatchNotify(header));
      return TRUE;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != Control(lvwMail)) return FALSE;
      lvwMail_ContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, lParam == -1);
      return TRUE;
    case WM_SIZE:
      Layout();
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = {Scaled(kSmallestPixels.cx, dpi_), Scaled(kSmallestPixels.cy, dpi_)};
      return TRUE;
    }
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      ApplyDpi(HIWORD(wParam));
      SetWindowPos(dialog_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      // The read-only preview reads as a page, not as a disabled box.
      if (reinterpret_cast<HWND>(lParam) != Control(txtPreview)) return FALSE;
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CLOSE:
      EndDialog(dialog_, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void frmResults::DispatchCommand(int id, int code) {
  switch (id) {
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      return;
    case IDOK:  // Enter
    case static_cast<int>(ResultsCommand::Open):
      mnuOpen_Click();
      return;
    case static_cast<int>(ResultsCommand::ShowInFolder):
      mnuShowInFolder_Click();
      return;
    case static_cast<int>(ResultsCommand::CopySubject):
      mnuCopySubject_Click();
      return;
    case static_cast<int>(cmbShow):
      if (code == CBN_SELCHANGE) cmbShow_Click();
      return;
    case static_cast<int>(txtSearch):
      if (code == EN_CHANGE) txtSearch_Change();
      return;
    default:
      return;
  }
}

LRESULT frmResults::DispatchNotify(const NMHDR& header) {
  auto* changed = const_cast<NMHDR*>(&header);
  switch (header.code) {
    case LVN_GETDISPINFOW:
      lvwMail_GetDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(changed));
      return 0;
    case LVN_COLUMNCLICK:
      lvwMail_ColumnClick(reinterpret_cast<const NMLISTVIEW*>(changed)->iSubItem);
      return 0;
    case LVN_ITEMCHANGED:
      lvwMail_SelectionChanged();
      return 0;
    case NM_DBLCLK:
      mnuOpen_Click();
      return 0;
    case NM_CUSTOMDRAW:
      return lvwMail_CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(changed));
    case LVN_ODFINDITEMW:
      return -1;  // typing does not jump to a row
    default:
      return 0;
  }
}
