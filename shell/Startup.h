#pragma once
// Start-up: one instance per user session, the hidden application window, the main window.
#include <windows.h>

#include "shell/MainWindow.h"

inline constexpr wchar_t kApplicationWindowClass[] = L"ThunderRT6Main";

// True in a process started while another instance runs in the same user session; held until the
// process ends.
class InstanceMutex {
 public:
  InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;
  ~InstanceMutex();
  bool PreviousInstance() const { return previous_; }

 private:
  HANDLE mutex_ = nullptr;
  bool previous_ = false;
};

// The hidden top-level window captioned with the title that owns the instance's windows; a second
// instance finds the first through it.
class ApplicationWindow {
 public:
  ApplicationWindow();
  ApplicationWindow(const ApplicationWindow&) = delete;
  ApplicationWindow& operator=(const ApplicationWindow&) = delete;
  ~ApplicationWindow();
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Brings the running instance's window (or the dialog in front of it) to the front, restored if
// minimised. A null window does nothing.
void ActivatePreviousInstance(HWND window);

// The program: a second instance activates the first and ends; the first finds the mail stores,
// shows the main window (in Japanese when that is the user's display language, in English otherwise),
// offers it the store paths given on the command line (if any) and returns when it has closed. The
// result is the process exit code.
int Main(const frmMain::Recovery& recover, const frmMain::DbxFileChooser& chooseDbxFile,
         const std::vector<std::u16string>& storePaths = {});
