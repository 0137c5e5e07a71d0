#include "platform/Interrupt.h"

#include <atomic>

#include "platform/win32/Wide.h"

namespace platform {
namespace {

// The console calls the handler on a thread of its own; it can reach nothing but static state.
std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A second Ctrl-C falls through to the default handler, which ends the process.
  return interrupted.exchange(true) ? FALSE : TRUE;
}

}  // namespace

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

bool InterruptRequested() { return interrupted.load(); }

}  // namespace platform
