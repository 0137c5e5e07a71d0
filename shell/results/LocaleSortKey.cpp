#include "shell/results/LocaleSortKey.h"

#include <windows.h>

#include "platform/win32/Wide.h"

std::string LocaleSortKey(std::u16string_view text) {
  std::string key;
  if (text.empty()) return key;
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const auto length = static_cast<int>(text.size());
  const wchar_t* source = platform::win32::Wide(text.data());
  const int bytes = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length, nullptr, 0, nullptr, nullptr, 0);
  if (bytes <= 0) return key;
  key.resize(static_cast<std::size_t>(bytes));
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length, reinterpret_cast<wchar_t*>(key.data()), bytes, nullptr,
                nullptr, 0);
  return key;
}
