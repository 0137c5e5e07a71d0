#pragma once
// What the system said, for the POSIX sources.
#include <cstring>

#include "platform/Files.h"
#include "platform/Utf.h"

namespace platform::posix {

inline OsError ErrorFromErrno(int code) { return OsError{code, FromUtf8(std::strerror(code))}; }

}  // namespace platform::posix
