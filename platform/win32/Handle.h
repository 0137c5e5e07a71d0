#pragma once
// An OsHandle holds a Windows HANDLE as an integer.
#include <windows.h>

#include <cstdint>

#include "platform/OsHandle.h"

namespace platform::win32 {

inline HANDLE Handle(const OsHandle& handle) { return reinterpret_cast<HANDLE>(handle.Get()); }
inline OsHandle Owned(HANDLE handle) { return OsHandle(reinterpret_cast<std::intptr_t>(handle)); }

}  // namespace platform::win32
