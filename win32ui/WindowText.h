#pragma once
// Window text as the core's UTF-16 strings.
#include <windows.h>

#include <string>

#include "platform/win32/Wide.h"

inline std::u16string GetText(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)), u'\0');
  if (!text.empty()) {
    const int copied = GetWindowTextW(window, platform::win32::WideBuffer(text), static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  }
  return text;
}

inline void SetText(HWND window, const std::u16string& text) { SetWindowTextW(window, platform::win32::Wide(text)); }
