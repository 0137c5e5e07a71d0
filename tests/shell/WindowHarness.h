#pragma once
// Opens the main window in this process with a known user list and drives it as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "shell/Startup.h"

// A drop as the shell makes it: DROPFILES followed by the wide paths, each ended by a NUL, and one
// more NUL. The window's DragFinish frees it.
HDROP MakeDrop(const std::vector<std::u16string>& paths);

// Handles pending messages for about the given time.
void PumpMessages(DWORD milliseconds = 50);

class WindowHarness : public ::testing::Test {
 protected:
  void TearDown() override;

  // Opens the window; a run records its DBX path and then does what during (if any) says.
  frmMain& Open(std::function<void(RecoveryUi& ui)> during = {});
  // Opens the window running recover for each Start.
  frmMain& OpenWith(frmMain::Recovery recover);

  HWND Control(ControlId id) const { return form_->Control(id); }
  std::wstring Text(ControlId id) const;
  bool Enabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Visible(ControlId id) const { return IsWindowVisible(Control(id)) != FALSE; }
  bool Checked(ControlId id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  void Type(ControlId id, const std::wstring& text);
  void Replace(ControlId id, const std::wstring& text) { SetWindowTextW(Control(id), text.c_str()); }
  bool MenuItemEnabled(UINT item) const;
  static void Pump(DWORD milliseconds = 50) { PumpMessages(milliseconds); }

  // Whether Open gives the current identity's store folder an Inbox, so that the default choice is offered.
  bool createInboxes_ = true;
  // The user list the window is opened with.
  UserList users_{{u"user1", u"user2"}, {u"C:\\Mail1", u"C:\\Mail"}, 1, u"C:\\Docs"};
  // The language the window is opened in.
  Language language_ = Language::Japanese;
  // The run going on, inside a run of Open's, and the options of the last run.
  RecoveryRun* run_ = nullptr;
  RunOptions options_;
  std::unique_ptr<ApplicationWindow> application_;
  std::unique_ptr<frmMain> form_;
  std::vector<std::u16string> runPaths_;
  int closedCount_ = 0;
};
