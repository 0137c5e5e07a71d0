#include "WindowHarness.h"

#include "chooser/DbxChooser.h"
#include "discovery/Identities.h"
#include "engine/RecoveryRun.h"

void WindowHarness::TearDown() {
  form_.reset();
  application_.reset();
  Pump(0);
}

frmMain& WindowHarness::Open(std::function<void(RecoveryUi& ui)> during) {
  return OpenWith([this, during](const std::u16string& dbxPath, RecoveryRun& run, RecoveryUi& ui) {
    runPaths_.push_back(dbxPath);
    options_ = run.Options;
    run_ = &run;
    if (during) during(ui);
    run_ = nullptr;
  });
}

frmMain& WindowHarness::OpenWith(frmMain::Recovery recover) {
  application_ = std::make_unique<ApplicationWindow>();
  form_ = std::make_unique<frmMain>(application_->Handle(), users_, language_, std::move(recover), frmDBX::Show,
                                    [this] { ++closedCount_; });
  form_->Show();
  SetForegroundWindow(form_->Window());
  Pump();
  return *form_;
}

std::wstring WindowHarness::Text(ControlId id) const {
  wchar_t buffer[1024] = {};
  GetWindowTextW(Control(id), buffer, 1024);
  return buffer;
}

void WindowHarness::Type(ControlId id, const std::wstring& text) {
  for (const wchar_t c : text) SendMessageW(Control(id), WM_CHAR, c, 0);
}

bool WindowHarness::MenuItemEnabled(UINT item) const {
  return (GetMenuState(GetMenu(form_->Window()), item, MF_BYCOMMAND) & MF_GRAYED) == 0;
}

void PumpMessages(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (milliseconds > 0) Sleep(5);
  } while (GetTickCount64() < end);
}
