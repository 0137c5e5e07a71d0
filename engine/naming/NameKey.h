#pragma once
// How file names are compared: two names with the same key are one name. Windows folders ignore case,
// so names are told apart the same way everywhere, and a folder copied there loses no file.
#include <string>
#include <string_view>

// The code unit's simple uppercase (ASCII and the one-to-one Unicode mapping); surrogates and
// characters without one stay as they are.
char16_t SimpleUpperCase(char16_t c);

// The name with every code unit in simple uppercase.
std::u16string NameKey(std::u16string_view name);
