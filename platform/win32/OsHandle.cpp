#include "platform/OsHandle.h"

#include <windows.h>

namespace platform {

bool OsHandle::CloseOsHandle(std::intptr_t value) { return CloseHandle(reinterpret_cast<HANDLE>(value)) != 0; }

}  // namespace platform
