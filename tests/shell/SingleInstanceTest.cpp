#include <gtest/gtest.h>

#include "TestPaths.h"
#include "WindowHarness.h"
#include "shell/ProgramVersion.h"

namespace {

// Starts Palvenor.exe, with a quoted argument if one is given, and waits for it to end while this
// thread keeps answering its windows' messages. Returns the exit code, or -1 when it did not end in time.
long RunSecondInstance(const std::wstring& argument = {}) {
  std::wstring commandLine = L"\"" + WinePath(PALVENOR_EXE) + L"\"";
  if (!argument.empty()) commandLine += L" \"" + argument + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return -2;
  }
  CloseHandle(process.hThread);
  long exitCode = -1;
  const ULONGLONG end = GetTickCount64() + 15000;
  while (GetTickCount64() < end) {
    if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      exitCode = static_cast<long>(code);
      break;
    }
    PumpMessages(0);
  }
  if (exitCode == -1) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  return exitCode;
}

int CountMainWindows() {
  int count = 0;
  for (HWND window = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) {
    ++count;
  }
  return count;
}

using SingleInstance = WindowHarness;

TEST_F(SingleInstance, TheApplicationWindowIsHiddenAndFoundByClassAndTitle) {
  Open();
  const HWND found = FindWindowW(kApplicationWindowClass, kApplicationTitle);
  EXPECT_EQ(found, application_->Handle());
  EXPECT_FALSE(IsWindowVisible(found));
  EXPECT_EQ(GetLastActivePopup(found), form_->Window());
}

TEST_F(SingleInstance, ASecondStartRestoresTheFirstAndEndsWithoutAWindow) {
  const InstanceMutex first;
  ASSERT_FALSE(first.PreviousInstance());
  {
    const InstanceMutex second;
    EXPECT_TRUE(second.PreviousInstance());
  }
  const frmMain& form = Open();
  ShowWindow(form.Window(), SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(form.Window()));

  EXPECT_EQ(RunSecondInstance(), 0);
  Pump();
  EXPECT_FALSE(IsIconic(form.Window())) << "the running window is restored";
  EXPECT_TRUE(IsWindowVisible(form.Window()));
  EXPECT_EQ(GetForegroundWindow(), form.Window()) << "and brought to the front";
  EXPECT_EQ(CountMainWindows(), 1) << "the second start showed no window of its own";
}

TEST_F(SingleInstance, ASecondStartWithAPathHandsItToTheRunningWindow) {
  const InstanceMutex first;
  Open();
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  EXPECT_EQ(RunSecondInstance(program), 0);
  Pump();
  EXPECT_EQ(Text(ControlId::txtDBXFile), program);
  EXPECT_TRUE(Checked(ControlId::optFolder));
  EXPECT_EQ(CountMainWindows(), 1);
}

TEST_F(SingleInstance, ActivatingNothingDoesNothing) {
  ActivatePreviousInstance(nullptr);
  SUCCEED();
}

}  // namespace
