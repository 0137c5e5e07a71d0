#pragma once
// On Windows wchar_t is a UTF-16 code unit, so the core's text passes to the W APIs unchanged.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/Files.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::u16string FromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

// The system's own wording of an error code, without the trailing line break.
inline OsError ErrorFromCode(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length > 0 && buffer != nullptr) text.assign(reinterpret_cast<const char16_t*>(buffer), length);
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
