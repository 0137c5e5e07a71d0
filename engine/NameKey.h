#pragma once
// How the output folder compares file names: two names with the same key are one name there.
#include <string>
#include <string_view>

// The code unit's simple uppercase (ASCII and the one-to-one Unicode mapping); surrogates and
// characters without one stay as they are.
char16_t SimpleUpperCase(char16_t c);

// The name as the folder compares it: the name itself where names differing in case are different
// (POSIX), every code unit in simple uppercase where they are one (Windows).
std::u16string NameKey(std::u16string_view name);
