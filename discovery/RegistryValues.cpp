#include "discovery/RegistryValues.h"

std::vector<std::u16string> GetRegistrySubKeys(platform::RegistryRoot root, const std::u16string& keyPath) {
  std::vector<std::u16string> names = platform::RegistrySubKeyNames(root, keyPath);
  if (names.empty()) return {u""};
  for (auto& name : names) name = TrimAtNull(name);
  return names;
}

bool GetRegistryString(platform::RegistryRoot root, const std::u16string& keyPath, const std::u16string& valueName,
                       std::u16string& value) {
  value.clear();
  const auto stored = platform::RegistryString(root, keyPath, valueName);
  if (!stored) return false;
  value = TrimAtNull(*stored);
  return true;
}

std::u16string TrimAtNull(std::u16string_view text) { return std::u16string(text.substr(0, text.find(u'\0'))); }
