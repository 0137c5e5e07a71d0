// What the recovery run reaches of the main window: the status bar, message boxes, the event pump.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "engine/Texts.h"
#include "platform/win32/Wide.h"
#include "shell/ProgramVersion.h"
#include "shell/MainWindow.h"
#include "win32ui/Twips.h"
#include "win32ui/WindowText.h"

using platform::win32::Wide;
using platform::win32::WideBuffer;

namespace {

// Pending events are handled at most this often: often enough that Stop and the close box answer
// within a tenth of a second, rarely enough that the run hardly notices.
constexpr ULONGLONG kPumpIntervalMs = 30;

ControlId ControlOf(StatusControl control) {
  switch (control) {
    case StatusControl::lblMessage:
      return ControlId::lblMessage;
    case StatusControl::lblProc:
      return ControlId::lblProc;
    case StatusControl::lblRename:
      return ControlId::lblRename;
    case StatusControl::lblPercent:
      return ControlId::lblPercent;
    case StatusControl::lblStatus:
      return ControlId::lblStatus;
    case StatusControl::prgStatus:
      return ControlId::prgStatus;
    case StatusControl::cmdStart:
      return ControlId::cmdStart;
    case StatusControl::cmdStop:
      return ControlId::cmdStop;
  }
  return ControlId::None;
}

UINT StyleOf(const UiMessage& message) {
  UINT style = message.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
  switch (message.icon) {
    case MessageIcon::Exclamation:
      return style | MB_ICONEXCLAMATION;
    case MessageIcon::Critical:
      return style | MB_ICONHAND;
    case MessageIcon::Information:
      return style | MB_ICONINFORMATION;
    case MessageIcon::Question:
      return style | MB_ICONQUESTION;
  }
  return style;
}

}  // namespace

std::u16string frmMain::OutputParentFolder() { return GetText(Control(ControlId::txtEMLFolder)); }

void frmMain::SetVisible(StatusControl control, bool visible) {
  ShowWindow(Control(ControlOf(control)), visible ? SW_SHOWNA : SW_HIDE);
  EnsureFocus(FocusTarget());
}

void frmMain::SetCaption(StatusControl control, const std::u16string& caption) {
  SetLabelCaption(ControlOf(control), caption);
}

void frmMain::SetProgress(int value) {
  SendMessageW(Control(ControlId::prgStatus), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void frmMain::SetBusyPointer(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

MessageAnswer frmMain::ShowMessage(const UiMessage& message) {
  switch (MessageBoxW(window_, Wide(message.text), kApplicationTitle, StyleOf(message))) {
    case IDYES:
      return MessageAnswer::Yes;
    case IDNO:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Ok;
  }
}

void frmMain::PumpEvents() {
  const ULONGLONG now = GetTickCount64();
  if (now - lastPump_ < kPumpIntervalMs) return;
  lastPump_ = now;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave it for the program's own message loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!TranslateDialogKeys(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void frmMain::OpenFolder(const std::u16string& path) {
  std::u16string commandLine = u"explorer.exe " + path;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, WideBuffer(commandLine), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

RecoveryUi& frmMain::ForStore(RecoveryRun& run, const StorePlace& place) {
  run_ = &run;
  ShowStorePlace(StorePlaceText(place, TextLanguage()));
  return *this;
}

// The phase labels grow with the place; the progress bar then starts after them and keeps its right end.
void frmMain::ShowStorePlace(const std::u16string& place) {
  const std::u16string lead = place.empty() ? u"" : place + u" ";
  SetLabelCaption(ControlId::lblProc, lead + Text(TextId::ExtractingCaption, TextLanguage()));
  SetLabelCaption(ControlId::lblRename, lead + Text(TextId::RenamingCaption, TextLanguage()));
  const HWND bar = Control(ControlId::prgStatus);
  const HWND statusBar = Control(ControlId::Picture1);
  const UINT dpi = GetDpiForWindow(window_);
  for (const ControlDesign<ControlId>& design : MainWindowControls()) {
    if (design.id != ControlId::prgStatus) continue;
    int left = TwipsToPixels(design.left, dpi);
    const int right = TwipsToPixels(design.left + design.width, dpi);
    for (const ControlId label : {ControlId::lblProc, ControlId::lblRename}) {
      RECT box{};
      GetWindowRect(Control(label), &box);
      MapWindowPoints(nullptr, statusBar, reinterpret_cast<POINT*>(&box), 2);
      if (!place.empty()) left = std::max(left, static_cast<int>(box.right) + TwipsToPixels(120, dpi));
    }
    left = std::min(left, right - TwipsToPixels(600, dpi));
    SetWindowPos(bar, nullptr, left, TwipsToPixels(design.top, dpi), right - left, TwipsToPixels(design.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
