#include "platform/OsHandle.h"

#include <unistd.h>

namespace platform {

bool OsHandle::CloseOsHandle(std::intptr_t value) { return ::close(static_cast<int>(value)) == 0; }

}  // namespace platform
