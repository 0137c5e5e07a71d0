#pragma once
#include <string>
#include <string_view>

// Lowercases A-Z only: header field names and month names are ASCII, and leaving every other
// character alone keeps positions in the lowered copy valid in the original.
inline std::u16string AsciiLower(std::u16string_view text) {
  std::u16string lowered(text);
  for (auto& c : lowered) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lowered;
}
