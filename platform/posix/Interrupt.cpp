#include "platform/Interrupt.h"

#include <signal.h>

#include <atomic>

namespace platform {
namespace {

// A signal handler can reach nothing but static state.
std::atomic<int> interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);

// A terminal that hangs up and a system that shuts down ask the run to end as Ctrl-C does, so that
// it winds up with nothing half written either.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnInterrupt(int) {
  // After the second, the default action comes back, so a third terminates as usual.
  if (interrupts.fetch_add(1) >= 1)
    for (const int stop : kStopSignals) ::signal(stop, SIG_DFL);
}

}  // namespace

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESTART: file writes in progress are not cut short by the signal.
  action.sa_flags = SA_RESTART;
  for (const int stop : kStopSignals) sigaction(stop, &action, nullptr);
}

void IgnoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

int InterruptCount() { return interrupts.load() > 1 ? 2 : interrupts.load(); }

}  // namespace platform
