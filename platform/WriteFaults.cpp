#include "platform/WriteFaults.h"

#include <new>

namespace platform {

int WriteFaults::Next(WriteCall call) {
  const int nth = ++calls_[static_cast<std::size_t>(call)];
  if (before_) before_(call, nth);
  for (const WriteFault& fault : faults_) {
    if (fault.call != call || fault.nth != nth) continue;
    if (fault.code == kAllocationFailure) throw std::bad_alloc();
    return fault.code;
  }
  return 0;
}

}  // namespace platform
