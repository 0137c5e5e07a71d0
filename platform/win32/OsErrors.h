#pragma once
// Windows error codes as the platform layer reports them.
#include <windows.h>

#include <string>

#include "platform/Files.h"
#include "platform/win32/Wide.h"

namespace platform::win32 {

// The system's own wording of an error code, without the trailing line break.
inline OsError ErrorFromCode(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length > 0 && buffer != nullptr) text = FromWide(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  if (text.empty()) {
    text = u"error ";
    for (const char digit : std::to_string(code)) text += static_cast<char16_t>(digit);
  }
  return OsError{static_cast<int>(code), text};
}

inline OsError LastError() { return ErrorFromCode(GetLastError()); }

}  // namespace platform::win32
