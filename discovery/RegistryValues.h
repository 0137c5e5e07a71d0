#pragma once
// Small read-only registry helpers for store discovery; failures come out as empty text.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

// Names of the key's direct subkeys in enumeration order. Never empty: a key that cannot be opened or
// has no subkeys gives one empty name.
std::vector<std::u16string> GetRegistrySubKeys(platform::RegistryRoot root, const std::u16string& keyPath);

// Reads a string value into value (set to "" first), cut at its first NUL. False when the key or value
// is missing, unreadable or not a string.
bool GetRegistryString(platform::RegistryRoot root, const std::u16string& keyPath, const std::u16string& valueName,
                       std::u16string& value);

// The text up to its first NUL, or the whole text when it holds none.
std::u16string TrimAtNull(std::u16string_view text);
