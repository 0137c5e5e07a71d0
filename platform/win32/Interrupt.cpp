#include "platform/Interrupt.h"

#include <atomic>

#include "platform/win32/Wide.h"

namespace platform {
namespace {

// The console calls the handler on a thread of its own; it can reach nothing but static state.
std::atomic<int> interrupts{0};

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A third Ctrl-C falls through to the default handler, which ends the process.
  return interrupts.fetch_add(1) < 2 ? TRUE : FALSE;
}

}  // namespace

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

void IgnoreFileSizeLimitSignal() {}

int InterruptCount() { return interrupts.load() > 1 ? 2 : interrupts.load(); }

}  // namespace platform
