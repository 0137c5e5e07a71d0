// The main window's procedures: each event goes to its handler, nothing more.
#include "shell/MainWindow.h"
#include "shell/resource.h"

LRESULT CALLBACK frmMain::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<frmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = form->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    form->window_ = nullptr;
  }
  return result;
}

LRESULT frmMain::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      DispatchCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (!Form_QueryUnload()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      Form_Unload();
      return 0;
    case WM_DROPFILES:
      Form_DropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA:
      return Form_StorePathHanded(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocus(wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      EnsureFocus(FocusTarget());
      return 0;
    case WM_CTLCOLORSTATIC:
      return ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (SetBusyCursor()) return TRUE;
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ApplyLayout(HIWORD(wParam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void frmMain::DispatchCommand(int id, int code) {
  switch (static_cast<ControlId>(id)) {
    case ControlId::cmdStart:
      // Enter reaches this too; it counts only while the button can be pressed.
      if (IsWindowVisible(Control(ControlId::cmdStart)) && IsWindowEnabled(Control(ControlId::cmdStart))) {
        cmdStart_Click();
      }
      return;
    case ControlId::cmdStop:
      if (IsWindowVisible(Control(ControlId::cmdStop))) cmdStop_Click();
      return;
    case ControlId::cmdResults:
      if (code == BN_CLICKED) cmdResults_Click();
      if (code == BN_SETFOCUS) cmdResults_GotFocus();
      if (code == BN_KILLFOCUS) cmdResults_LostFocus();
      return;
    case ControlId::cmdFindDBX:
      if (code == BN_CLICKED) cmdFindDBX_Click();
      return;
    case ControlId::cmdFindEML:
      if (code == BN_CLICKED) cmdFindEML_Click();
      return;
    case ControlId::optDefault:
      if (code == BN_CLICKED && IsChecked(ControlId::optDefault)) optDefault_Click();
      return;
    case ControlId::optFolder:
      if (code == BN_CLICKED && IsChecked(ControlId::optFolder)) optFolder_Click();
      return;
    case ControlId::optAll:
      if (code == BN_CLICKED && IsChecked(ControlId::optAll)) optAll_Click();
      return;
    case ControlId::txtDBXFile:
      if (code == EN_CHANGE) txtDBXFile_Change();
      if (code == EN_SETFOCUS) txtDBXFile_GotFocus();
      if (code == EN_KILLFOCUS) txtDBXFile_LostFocus();
      return;
    case ControlId::txtEMLFolder:
      if (code == EN_CHANGE) txtEMLFolder_Change();
      if (code == EN_SETFOCUS) txtEMLFolder_GotFocus();
      if (code == EN_KILLFOCUS) txtEMLFolder_LostFocus();
      return;
    default:
      break;
  }
  if (id == IDM_FILE_RESULTS) mnuFileResults_Click();
  if (id == IDM_FILE_EXIT) mnuFileExit_Click();
  if (id == IDM_HELP_HELP) mnuHelpHelp_Click();
  if (id == IDM_HELP_ABOUT) mnuHelpAbout_Click();
}

// The panels hold the controls of the three steps and of the status bar; what their controls report
// belongs to the window.
LRESULT CALLBACK frmMain::PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<frmMain*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(panel), message, wParam, lParam);
    case WM_ERASEBKGND:
      if (form == nullptr) break;
      form->PaintPanel(panel, reinterpret_cast<HDC>(wParam));
      return TRUE;
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}
