#pragma once
// On Windows wchar_t is a UTF-16 code unit, so the core's text passes to and from the W APIs unchanged.
// Every cast between the two lives here.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline const wchar_t* Wide(const std::u16string& text) { return Wide(text.c_str()); }
// The text's own storage, for calls that write into a buffer or want a modifiable string.
inline wchar_t* WideBuffer(std::u16string& text) { return reinterpret_cast<wchar_t*>(text.data()); }

inline std::u16string_view FromWide(const wchar_t* text, std::size_t length) {
  return {reinterpret_cast<const char16_t*>(text), length};
}
inline std::u16string FromWide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

}  // namespace platform::win32
