#include "shell/results/LocaleOrder.h"

#include <windows.h>

#include "platform/win32/Wide.h"

int LocaleOrder::operator()(std::u16string_view a, std::u16string_view b) {
  return KeyOf(a).compare(KeyOf(b));
}

const std::string& LocaleOrder::KeyOf(std::u16string_view text) {
  const auto [entry, added] = keys_.try_emplace(Place{text.data(), text.size()});
  if (!added || text.empty()) return entry->second;
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const auto length = static_cast<int>(text.size());
  const wchar_t* source = platform::win32::Wide(text.data());
  const int bytes = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length, nullptr, 0, nullptr, nullptr, 0);
  if (bytes <= 0) return entry->second;
  entry->second.resize(static_cast<std::size_t>(bytes));
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length, reinterpret_cast<wchar_t*>(entry->second.data()), bytes,
                nullptr, nullptr, 0);
  return entry->second;
}
