#include "WindowHarness.h"

#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>

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
  const std::u16string& folder = users_.StoreFolderAt(users_.CurrentUserIndex);
  const std::filesystem::path path(folder);
  if (createInboxes_ && !folder.empty() && !std::filesystem::exists(path / u"受信トレイ.dbx") &&
      !std::filesystem::exists(path / u"Inbox.dbx")) {
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    std::ofstream(path / u"受信トレイ.dbx") << "store";
  }
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

HDROP MakeDrop(const std::vector<std::u16string>& paths) {
  std::u16string list;
  for (const std::u16string& path : paths) list += path + u'\0';
  list += u'\0';
  const std::size_t listBytes = list.size() * sizeof(char16_t);
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + listBytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), listBytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
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
